#include "rfc/packed_decimal.h"

#include <algorithm>

namespace rfc {

std::string HexText(std::span<const unsigned char> bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0x0F]);
  }
  return hex;
}

std::string PackedToText(std::span<const unsigned char> field, std::size_t decimals) {
  std::string hex = HexText(field);
  if (hex.empty()) {
    return "+";
  }
  std::string text(1, hex.back() == 'D' ? '-' : '+');
  std::string_view digits(hex.data(), hex.size() - 1);
  decimals = std::min(decimals, digits.size());
  text.append(digits.substr(0, digits.size() - decimals));
  if (decimals > 0) {
    text.push_back('.');
    text.append(digits.substr(digits.size() - decimals));
  }
  return text;
}

}  // namespace rfc
