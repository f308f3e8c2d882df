#include "rfc/filling_row.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "tests/measure/devstat_row.h"

namespace {

rfc::FillingRow Decode(const std::string& bytes) {
  std::array<unsigned char, rfc::kFillingRowLength> row{};
  std::memcpy(row.data(), bytes.data(), row.size());
  return rfc::DecodeFillingRow(row);
}

TEST(SizeFromPackedText, RawAndMegabytes) {
  struct Case {
    const char* what;
    std::string text;
    rfc::FillingSize expected;
  };
  const std::vector<Case> cases = {
      {"plain", "+000000000000000005000", {"5000", "5"}},
      {"999 is 0 MB", "+000000000000000000999", {"999", "0"}},
      {"1999 is 1 MB", "+000000000000000001999", {"1999", "1"}},
      {"zero", "+000000000000000000000", {"0", "0"}},
      {"negative zero", "-000000000000000000000", {"0", "0"}},
      {"-1 in unsigned form", "-000000000000000000001", {"4294967295", "4294967"}},
      {"largest int32", "+000000000002147483647", {"2147483647", "2147483"}},
      {"smallest int32 in unsigned form", "-000000000002147483648", {"2147483648", "2147483"}},
      {"one past the largest is exact", "+000000000002147483648", {"2147483648", "2147483"}},
      {"one past the smallest is exact", "-000000000002147483649", {"-2147483649", "-2147483"}},
      {"past uint32 too", "+000000000004294967296", {"4294967296", "4294967"}},
      {"all 21 digits", "+999999999999999999999", {"999999999999999999999", "999999999999999999"}},
      {"all 21 digits negative",
       "-123456789012345678901",
       {"-123456789012345678901", "-123456789012345678"}},
      {"a letter nibble stops the reading", "+0000000000000000A1234", {"0", "0"}},
      {"digits before a letter count", "+000000000000000012A34", {"12", "0"}},
      {"letter after many digits", "+00000000000003000000B", {"3000000", "3000"}},
      {"sign alone", "+", {"0", "0"}},
      {"nothing", "", {"0", "0"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rfc::SizeFromPackedText(c.text), c.expected) << c.what;
  }
}

TEST(DecodeFillingRow, EveryFieldAtItsPlace) {
  const rfc::FillingRow expected{
      .total = {"5000", "5"},
      .used = {"1850", "1"},
      .perm_used = {"1700", "1"},
      .temp_used = {"150", "0"},
      .free = {"3150", "3"},
      .used_percent = 37,
      .perm_used_percent = 34,
      .temp_used_percent = 3,
      .free_percent = 63,
  };
  EXPECT_EQ(Decode(DevstatRow(ExampleDevstat())), expected);
}

TEST(DecodeFillingRow, NegativeValuesInUnsignedForm) {
  DevstatValues values;
  values.conf_size = PackedNumber("-1");
  values.unused_percent = -1;
  values.pages_percent = -2147483647 - 1;
  const rfc::FillingRow row = Decode(DevstatRow(values));
  EXPECT_EQ(row.total, (rfc::FillingSize{"4294967295", "4294967"}));
  EXPECT_EQ(row.free_percent, 4294967295u);
  EXPECT_EQ(row.used_percent, 2147483648u);
}

}  // namespace
