// Packed-decimal fields of any length with any number of decimals, checked
// against a plain reimplementation of the format.
//
// Input: the number of decimals as two bytes, little-endian (from 0xFF00 on
// they stand for the largest numbers a size_t holds), then the field.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "rfc/packed_decimal.h"

namespace {

std::string ExpectedHex(std::span<const unsigned char> bytes) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : bytes) {
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  }
  return hex;
}

std::string ExpectedText(std::span<const unsigned char> field, std::size_t decimals) {
  if (field.empty()) return "+";
  const std::string hex = ExpectedHex(field);
  const std::size_t digits = hex.size() - 1;
  const std::size_t places = std::min(decimals, digits);
  std::string text = hex.back() == 'D' ? "-" : "+";
  text.append(hex, 0, digits - places);
  if (places > 0) text.append(".").append(hex, digits - places, places);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint16_t number = input.TakeNumber16();
  const std::size_t decimals =
      number < 0xFF00 ? number : std::numeric_limits<std::size_t>::max() - (number & 0xFF);
  const auto* bytes = reinterpret_cast<const unsigned char*>(input.rest().data());
  const std::span<const unsigned char> field(bytes, input.rest().size());

  fuzz::Require(rfc::HexText(field) == ExpectedHex(field),
                "HexText writes two upper-case digits per byte");
  fuzz::Require(rfc::PackedToText(field, decimals) == ExpectedText(field, decimals),
                "PackedToText writes the sign, the integer digits and the decimals");
  return 0;
}
