// The upper-case form of a name, option text or key, as the sensor compares
// them: byte by byte, in the C locale.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace platform {

inline std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace platform
