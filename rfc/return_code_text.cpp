#include "rfc/return_code_text.h"

#include "include/texts.h"
#include "rfc/rfc_api.h"

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
