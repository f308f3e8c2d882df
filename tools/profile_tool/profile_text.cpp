#include "tools/profile_tool/profile_text.h"

#include <algorithm>

#include "config/profile_reader.h"
#include "platform/joined.h"
#include "tools/profile_tool/tool_texts.h"

namespace profile_tool {

using platform::Joined;
namespace {

// Starts with "*", which begins no label: the sensor skips these lines.
constexpr std::string_view kHeader =
    "* Brackwater profile: the logon settings of one SAP system.\n"
    "* Label in columns 1-12, value from column 14. The password is scrambled;\n"
    "* write and check this file with brackwater-profile.\n";

bool IsPrintableAscii(char c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

std::optional<std::string> ValueRefusal(const config::ProfileField& field, std::string_view value) {
  const std::size_t longest = std::min(field.capacity, config::kLongestValue);
  if (!std::all_of(value.begin(), value.end(), IsPrintableAscii)) {
    return std::string(texts::kValueNotPrintable);
  }
  if (value.size() < field.minimum_length) {
    return Joined(texts::kValueNeedsAtLeast, field.minimum_length, texts::kCharacters);
  }
  if (value.size() > longest) {
    return Joined(texts::kValueHoldsAtMost, longest, texts::kCharacters);
  }
  return std::nullopt;
}

std::string ProfileText(const config::ConnectionProfile& settings,
                        std::optional<std::string_view> scrambled_password) {
  std::string text(kHeader);
  for (const config::ProfileField& field : config::kProfileFields) {
    const bool password = &field == &config::kPasswordField;
    // Without a password the logon's credentials come from PRTG: no User
    // and no Password line.
    if (!scrambled_password && (password || field.member == &config::ConnectionProfile::User)) {
      continue;
    }
    text.append(field.label).append(" ");
    text.append(password ? *scrambled_password : std::string_view(settings.*field.member));
    text.append("\n");
  }
  return text;
}

}  // namespace profile_tool
