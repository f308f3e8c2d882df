#include "rfcsim/packed_decimal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace rfcsim {
namespace {

std::string Hex(std::span<const unsigned char> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

TEST(RfcsimEncodePacked, ElevenByteSizes) {
  const struct {
    std::int64_t value;
    const char* hex;
  } cases[] = {
      {0, "000000000000000000000C"},
      {5000, "000000000000000005000C"},
      {-1, "000000000000000000001D"},
      {-4294967296, "000000000004294967296D"},
      {std::numeric_limits<std::int64_t>::max(), "009223372036854775807C"},
      {std::numeric_limits<std::int64_t>::min(), "009223372036854775808D"},
  };
  for (const auto& c : cases) {
    std::array<unsigned char, 11> field{};
    ASSERT_TRUE(EncodePacked(c.value, field)) << c.value;
    EXPECT_EQ(Hex(field), c.hex) << c.value;
  }
}

TEST(RfcsimEncodePacked, RefusesDigitsBeyondTheFieldAndLeavesItAlone) {
  // Two bytes hold three digits.
  std::array<unsigned char, 2> field{0xAA, 0xAA};
  EXPECT_TRUE(EncodePacked(-999, field));
  EXPECT_EQ(Hex(field), "999D");
  field = {0xAA, 0xAA};
  EXPECT_FALSE(EncodePacked(1000, field));
  EXPECT_EQ(Hex(field), "AAAA");
  EXPECT_FALSE(EncodePacked(0, std::span<unsigned char>()));
}

}  // namespace
}  // namespace rfcsim
