#include "rfc/failure_report.h"

#include "output/labelled_line.h"
#include "output/texts.h"

namespace rfc {
namespace {

// The label column of the report; "internal status" fills it exactly.
constexpr std::size_t kLabelWidth = 15;

std::string Line(std::string_view text) { return std::string(text).append("\n"); }

}  // namespace

std::string RfcErrorReport(const LibraryFailure& failure) {
  std::string report = Line(output::texts::kRfcErrorHeading);
  report.append(
      output::LabelledLine(output::texts::kLabelOperation, 0, kLabelWidth, failure.operation));
  report.append(output::LabelledLine(output::texts::kLabelKey, 0, kLabelWidth, failure.key));
  report.append(output::LabelledLine(output::texts::kLabelStatus, 0, kLabelWidth, failure.status));
  report.append(
      output::LabelledLine(output::texts::kLabelMessage, 0, kLabelWidth, failure.message));
  report.append(output::LabelledLine(output::texts::kLabelInternalStatus, 0, kLabelWidth,
                                     failure.internal_status));
  report.append("\n");
  report.append(Line(output::texts::kProgramAborted));
  // The end-of-output file has never been given a name, so it cannot be
  // created and its complaint always follows.
  report.append(Line(output::texts::kEndOfOutputFileError));
  return report;
}

std::string RfcErrorLine(const LibraryFailure& failure) {
  std::string line(output::texts::kRfcErrorHeading);
  const std::pair<std::string_view, const std::string*> fields[] = {
      {output::texts::kLabelOperation, &failure.operation},
      {output::texts::kLabelKey, &failure.key},
      {output::texts::kLabelStatus, &failure.status},
      {output::texts::kLabelMessage, &failure.message},
      {output::texts::kLabelInternalStatus, &failure.internal_status}};
  std::string_view separator = output::texts::kRfcErrorLineLead;
  for (const auto& [label, value] : fields) {
    if (value->empty()) continue;
    line.append(separator).append(label).append(": ").append(*value);
    separator = ", ";
  }
  return line;
}

std::string RfcAbortLogLine() { return Line(output::texts::kProgramAbortedLog); }

}  // namespace rfc
