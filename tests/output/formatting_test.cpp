#include <gtest/gtest.h>

#include <vector>

#include "output/labelled_line.h"
#include "rfc/packed_decimal.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(PackedToText, SignsDigitsAndDecimals) {
  struct Case {
    Bytes field;
    std::size_t decimals;
    const char* expected;
  };
  const Case cases[] = {
      {{0x00, 0x12, 0x3C}, 0, "+00123"},
      {{0x00, 0x12, 0x3C}, 2, "+001.23"},
      {{0x00, 0x12, 0x3D}, 0, "-00123"},
      {{0x00, 0x12, 0x3F}, 0, "+00123"},
      {{0x00, 0x00, 0x00}, 0, "+00000"},
      {{0x12, 0x3C}, 3, "+.123"},  // no integer digits
      {{0x12, 0x3C}, 9, "+.123"},  // more decimals than digits
      {{0xAB, 0xCD}, 0, "-ABC"},   // digit nibbles are not validated
      {{}, 0, "+"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rfc::PackedToText(c.field, c.decimals), c.expected) << c.expected;
  }
  EXPECT_EQ(rfc::PackedToText(Bytes(11, 0), 0), "+" + std::string(21, '0'));
}

TEST(HexText, TwoUpperCaseDigitsPerByte) {
  EXPECT_EQ(rfc::HexText(Bytes{0x00, 0x9F, 0xA0, 0xFF}), "009FA0FF");
  EXPECT_EQ(rfc::HexText(Bytes{}), "");
}

TEST(LabelledLine, WidthIndentAndLongLabels) {
  EXPECT_EQ(output::LabelledLine("key", 0, 15, "K"), "key             : K\n");
  EXPECT_EQ(output::LabelledLine("internal status", 0, 15, ""), "internal status : \n");
  EXPECT_EQ(output::LabelledLine("a label longer than width", 0, 15, "x"),
            "a label longer than width : x\n");
  EXPECT_EQ(output::LabelledLine("k", 2, 3, "v"), "  k   : v\n");
}

}  // namespace
