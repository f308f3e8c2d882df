#include "rfc/return_code_text.h"

#include "include/texts.h"
#include "rfc/rfc_api.h"
#include "rfc/trace_file_scan.h"

std::string ReturnCodeText(int code, std::string_view exception) {
  switch (code) {
    case kRfcFailure:
      return std::string(texts::kError1014);
    case kRfcException:
      return std::string(texts::kError1012Prefix).append(exception);
    case kRfcSysException:
      return std::string(texts::kError1013);
    default:
      return std::string(texts::kError1015);
  }
}

std::string FailureText(const rfc::RemoteFailure& failure) {
  std::string text = ReturnCodeText(failure.code, failure.exception);
  if (failure.trace_file_missing) {
    return text.append(texts::kLookForTraceFile);
  }
  return text.append(TraceDiagnosis(failure.message));
}
