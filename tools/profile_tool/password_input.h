// Taking a password from the user and turning it into the scrambled value
// of a profile file. The password itself is never written anywhere.
#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "tools/profile_tool/tool_console.h"

namespace profile_tool {

// One line from the console's input without its line end. On a terminal the
// password is asked for twice without echo. Returns nullopt after telling
// the user why (no input, the two entries differ).
std::optional<std::string> ReadPassword(ToolConsole& console);

// Why the sensor or the scrambling would refuse `password`; nullopt when
// neither does. The text never contains the password.
std::optional<std::string> PasswordRefusal(std::string_view password);

// The scrambled value of an acceptable password, at `offset` when given,
// else at an offset drawn from the printable ones. Returns nullopt after
// telling the user why on `err`.
std::optional<std::string> ScrambleForProfile(std::string_view password, std::optional<int> offset,
                                              std::mt19937& random, std::ostream& err);

}  // namespace profile_tool
