// Building a text from texts and numbers.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

// The parts one after the other; numbers in decimal. Appending piece by
// piece also keeps clear of a false -Wrestrict warning of GCC 12 for
// "literal" + std::string at -O3.
template <typename... Parts>
std::string Joined(const Parts&... parts) {
  std::string text;
  auto append = [&text](const auto& part) {
    if constexpr (std::is_arithmetic_v<std::decay_t<decltype(part)>>) {
      text.append(std::to_string(part));
    } else {
      text.append(std::string_view(part));
    }
  };
  (append(parts), ...);
  return text;
}

}  // namespace platform
