#include "rfc/failure_report.h"

#include <algorithm>
#include <cstdlib>

#include "include/exit_codes.h"
#include "include/texts.h"
#include "output/labelled_line.h"

namespace {

// The label column of the report; "internal status" fills it exactly.
constexpr std::size_t kLabelWidth = 15;

// The services of the run, for the one caller without a context: the
// library's error handler. Set by RegisterErrorReport.
RunServices* registered_services = nullptr;

// A field of the error record: its text up to the NUL, never past the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, std::find(field, field + N, '\0') - field);
}

std::string Line(std::string_view text) { return std::string(text).append("\n"); }

}  // namespace

std::string RfcErrorReport(rfc::RfcLibrary& library, std::string_view operation) {
  std::string report = Line(texts::kRfcErrorHeading);
  report.append(LabelledLine(texts::kLabelOperation, 0, kLabelWidth, operation));
  RfcErrorInfo error{};
  library.LastError(&error);
  report.append(LabelledLine(texts::kLabelKey, 0, kLabelWidth, FieldText(error.key)));
  report.append(LabelledLine(texts::kLabelStatus, 0, kLabelWidth, FieldText(error.status)));
  report.append(LabelledLine(texts::kLabelMessage, 0, kLabelWidth, FieldText(error.message)));
  report.append(
      LabelledLine(texts::kLabelInternalStatus, 0, kLabelWidth, FieldText(error.internal_status)));
  report.append("\n");
  library.Close(0);
  report.append(Line(texts::kProgramAborted));
  // The end-of-output file has never been given a name, so it cannot be
  // created and its complaint always follows.
  report.append(Line(texts::kEndOfOutputFileError));
  return report;
}

std::string RfcAbortLogLine() { return Line(texts::kProgramAbortedLog); }

void PrintRfcError(RunServices& services, std::string_view operation) {
  services.out.Write(RfcErrorReport(services.rfc, operation));
  services.err.Write(RfcAbortLogLine());
  services.out.Flush();
  services.err.Flush();
}

void RegisterErrorReport(RunServices& services) {
  registered_services = &services;
  services.rfc.Environment(&HandleRfcLibraryError);
}

extern "C" void BW_RFC_CALL HandleRfcLibraryError(char* operation) {
  if (registered_services != nullptr) {
    PrintRfcError(*registered_services, operation != nullptr ? operation : "");
  }
  // The library gives no way back from its handler: this is the one place
  // below the driver that ends the process.
  std::exit(kExitRfcError);
}
