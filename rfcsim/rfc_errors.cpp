#include "rfcsim/rfc_errors.h"

namespace rfcsim {

ErrorTexts ProgramError(std::string message) {
  return {"RFC_ERROR_PROGRAM", "INVALID_PARAMETER", std::move(message), "RFC_PARAMETER"};
}

ErrorTexts CommunicationError(std::string message) {
  return {"RFC_ERROR_COMMUNICATION", "CONNECT_FAILED", std::move(message),
          "CPIC-CALL: ThSAPOCMINIT"};
}

ErrorTexts LogonError(std::string message) {
  return {"RFC_ERROR_LOGON_FAILURE", "LOGON_FAILED", std::move(message), "RFC_LOGON"};
}

ErrorTexts FunctionNotFoundError(std::string_view function) {
  return {std::string(kFunctionNotFound), "CALL_FAILED",
          platform::Joined("Function module \"", function, "\" not found"), "RFC_CALL"};
}

}  // namespace rfcsim
