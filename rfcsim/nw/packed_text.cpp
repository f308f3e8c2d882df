#include "rfcsim/nw/packed_text.h"

namespace rfcsim::nw {

std::optional<std::string> PackedToText(std::span<const unsigned char> field, unsigned decimals) {
  if (field.empty()) return std::nullopt;
  std::string digits;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const unsigned high = field[i] >> 4;
    const unsigned low = field[i] & 0x0Fu;
    const bool last = i + 1 == field.size();
    if (high > 9 || (!last && low > 9)) return std::nullopt;
    digits.push_back(static_cast<char>('0' + high));
    if (!last) digits.push_back(static_cast<char>('0' + low));
  }
  const unsigned sign = field.back() & 0x0Fu;
  if (sign < 0x0A) return std::nullopt;
  // SAP's negative signs are D and B; A, C, E and F are positive.
  const bool negative = sign == 0x0D || sign == 0x0B;

  if (decimals >= digits.size()) digits.insert(0, decimals + 1 - digits.size(), '0');
  const std::size_t integer_digits = digits.size() - decimals;
  const std::size_t first = digits.find_first_not_of('0');
  const std::size_t start =
      first == std::string::npos ? integer_digits - 1 : std::min(first, integer_digits - 1);
  std::string text = digits.substr(start, integer_digits - start);
  if (decimals > 0) text += "." + digits.substr(integer_digits);
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (negative && !zero) text.insert(0, "-");
  return text;
}

}  // namespace rfcsim::nw
