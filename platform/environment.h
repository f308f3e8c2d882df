// Values the process is handed in its environment, read so that none of
// their characters is lost before it is known who takes them.
#pragma once

#include <optional>
#include <string>
#include <variant>

namespace platform {

// A text as the system hands it over: on Windows UTF-16, read wide, so that
// a character outside the ANSI code page stays what it is; elsewhere the
// bytes as they are, which every consumer takes unchanged.
using SystemText = std::variant<std::string, std::u16string>;

// The value of the variable `name`; nothing when it is not set.
std::optional<SystemText> EnvironmentValue(const char* name);

// Whether the text is empty.
bool IsEmpty(const SystemText& text);

// The text in the ANSI code page, the single bytes Windows' narrow calls and
// SAP's classic library take (off Windows, where texts stay bytes, UTF-16
// goes to ISO 8859-1). Nothing when a character has no place there: a
// best-fit stand-in would be another text, and for a password a wrong one.
std::optional<std::string> AnsiText(const SystemText& text);

}  // namespace platform
