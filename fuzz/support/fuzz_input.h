// Taking a fuzz input apart. Inputs begin with a few control characters that
// choose between variants, followed by newline-separated texts, so that the
// seeds stay readable files that can be written by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  explicit FuzzInput(std::string_view text) : rest_(text) {}

  // The next control character c as the number (c - '0') mod 256: "0" to
  // "9" stand for 0 to 9, ":" to "@" for 10 to 16, "A" to "Z" for 17 to 42.
  // An exhausted input reads as 0.
  unsigned TakeControl() {
    if (rest_.empty()) return 0;
    const auto c = static_cast<unsigned char>(rest_.front());
    rest_.remove_prefix(1);
    return static_cast<unsigned char>(c - '0');
  }

  // The text up to the next "\n" (without it), or all that is left.
  std::string_view TakeLine() {
    const std::size_t end = rest_.find('\n');
    std::string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return line;
  }

  // Two bytes as a little-endian number, as far as they are there.
  std::uint16_t TakeNumber16() {
    std::uint16_t number = 0;
    for (int shift = 0; shift < 16 && !rest_.empty(); shift += 8) {
      number =
          static_cast<std::uint16_t>(number | static_cast<unsigned char>(rest_.front()) << shift);
      rest_.remove_prefix(1);
    }
    return number;
  }

  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// A command-line argument as the process would receive it: C strings end at
// their first NUL.
inline std::string AsArgument(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

// A fuzz input that would leave the scratch layout: the sensor maps ".."
// like any other path component, and the targets must not read (or search)
// the machine's own directories.
inline bool LeavesScratchLayout(std::string_view text) {
  return text.find("..") != std::string_view::npos;
}

}  // namespace fuzz
