#include "rfc/netweaver/packed_decimal_packing.h"

namespace rfc::nw {
namespace {

constexpr unsigned char kPositiveSign = 0x0C;
constexpr unsigned char kNegativeSign = 0x0D;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::string> PackDecimalText(std::string_view text, std::size_t length,
                                           std::size_t decimals) {
  if (length == 0) return std::nullopt;
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole) {
    if (!IsDigit(c)) return std::nullopt;
  }
  for (char c : fraction) {
    if (!IsDigit(c)) return std::nullopt;
  }
  // Trailing zeros of the fraction beyond the field's places carry nothing.
  while (fraction.size() > decimals && fraction.back() == '0') fraction.remove_suffix(1);
  if (fraction.size() > decimals) return std::nullopt;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);

  std::string digits(whole);
  digits.append(fraction);
  digits.append(decimals - fraction.size(), '0');
  const std::size_t capacity = 2 * length - 1;
  if (digits.size() > capacity) return std::nullopt;
  digits.insert(0, capacity - digits.size(), '0');

  const bool is_zero = digits.find_first_not_of('0') == std::string::npos;
  std::string packed(length, '\0');
  for (std::size_t i = 0; i < capacity; ++i) {
    const auto nibble = static_cast<unsigned char>(digits[i] - '0');
    unsigned char& byte = reinterpret_cast<unsigned char&>(packed[i / 2]);
    byte = static_cast<unsigned char>(i % 2 == 0 ? nibble << 4 : byte | nibble);
  }
  unsigned char& last = reinterpret_cast<unsigned char&>(packed[length - 1]);
  last = static_cast<unsigned char>(last | (negative && !is_zero ? kNegativeSign : kPositiveSign));
  return packed;
}

}  // namespace rfc::nw
