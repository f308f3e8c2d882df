#include "rfc/failure_report.h"

#include "include/texts.h"
#include "output/labelled_line.h"

namespace rfc {
namespace {

// The label column of the report; "internal status" fills it exactly.
constexpr std::size_t kLabelWidth = 15;

std::string Line(std::string_view text) { return std::string(text).append("\n"); }

}  // namespace

std::string RfcErrorReport(const LibraryFailure& failure) {
  std::string report = Line(texts::kRfcErrorHeading);
  report.append(LabelledLine(texts::kLabelOperation, 0, kLabelWidth, failure.operation));
  report.append(LabelledLine(texts::kLabelKey, 0, kLabelWidth, failure.key));
  report.append(LabelledLine(texts::kLabelStatus, 0, kLabelWidth, failure.status));
  report.append(LabelledLine(texts::kLabelMessage, 0, kLabelWidth, failure.message));
  report.append(LabelledLine(texts::kLabelInternalStatus, 0, kLabelWidth, failure.internal_status));
  report.append("\n");
  report.append(Line(texts::kProgramAborted));
  // The end-of-output file has never been given a name, so it cannot be
  // created and its complaint always follows.
  report.append(Line(texts::kEndOfOutputFileError));
  return report;
}

std::string RfcAbortLogLine() { return Line(texts::kProgramAbortedLog); }

}  // namespace rfc
