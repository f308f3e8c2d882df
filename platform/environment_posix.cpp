#include <cstdlib>

#include "platform/environment.h"

namespace platform {

std::optional<SystemText> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return SystemText(std::string(value));
}

std::optional<std::string> AnsiText(const SystemText& text) {
  if (const auto* bytes = std::get_if<std::string>(&text)) return *bytes;
  std::string latin1;
  for (const char16_t c : std::get<std::u16string>(text)) {
    if (c > 0xFF) return std::nullopt;
    latin1.push_back(static_cast<char>(c));
  }
  return latin1;
}

}  // namespace platform
