// The errors rfcsim reports on its own (as opposed to the ones a landscape
// configures): the texts RfcLastError hands out and the trace file shows.
#pragma once

#include <string>
#include <string_view>

#include "rfcsim/landscape.h"

namespace rfcsim {

inline constexpr std::string_view kWrongLogonMessage =
    "Name or password is incorrect (repeat logon)";
inline constexpr std::string_view kFunctionNotFound = "FUNCTION_NOT_FOUND";

// The caller passed something the library cannot use.
ErrorTexts ProgramError(std::string message);
// The partner does not answer.
ErrorTexts CommunicationError(std::string message);
// The partner refused the logon.
ErrorTexts LogonError(std::string message);
// The partner has no such function module.
ErrorTexts FunctionNotFoundError(std::string_view function);

}  // namespace rfcsim
