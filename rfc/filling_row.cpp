#include "rfc/filling_row.h"

#include <cstring>
#include <limits>

#include "rfc/packed_decimal.h"

namespace rfc {

namespace {

// Where the fields lie in a DEVSTAT row (the library aligns the integers on
// 4-byte boundaries).
constexpr std::size_t kPackedSizeLength = 11;
constexpr std::size_t kConfSizeAt = 70;
constexpr std::size_t kPagAt = 81;
constexpr std::size_t kPagesPercentAt = 92;
constexpr std::size_t kPermUsedAt = 96;
constexpr std::size_t kPermPercentAt = 108;
constexpr std::size_t kTempUsedAt = 112;
constexpr std::size_t kTempPercentAt = 124;
constexpr std::size_t kUnusedAt = 128;
constexpr std::size_t kUnusedPercentAt = 140;

// One more digit than this cannot fit a signed 32-bit integer.
constexpr std::size_t kInt32Digits = 10;
// Megabytes are thousands of raw units.
constexpr std::size_t kThousandDigits = 3;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

FillingSize SizeOfField(std::span<const unsigned char> row, std::size_t at) {
  return SizeFromPackedText(PackedToText(row.subspan(at, kPackedSizeLength), 0));
}

std::uint32_t PercentOfField(std::span<const unsigned char> row, std::size_t at) {
  std::int32_t value = 0;
  std::memcpy(&value, row.data() + at, sizeof value);
  return static_cast<std::uint32_t>(value);
}

}  // namespace

FillingSize SizeFromPackedText(std::string_view packed_text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < packed_text.size() && (packed_text[i] == '+' || packed_text[i] == '-')) {
    negative = packed_text[i] == '-';
    ++i;
  }
  while (i < packed_text.size() && packed_text[i] == '0') ++i;
  std::size_t end = i;
  while (end < packed_text.size() && IsDigit(packed_text[end])) ++end;
  const std::string_view digits = packed_text.substr(i, end - i);

  if (digits.size() <= kInt32Digits) {
    std::int64_t magnitude = 0;
    for (char c : digits) magnitude = magnitude * 10 + (c - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
      const auto reported = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
      return {std::to_string(reported), std::to_string(reported / 1000)};
    }
  }
  // Outside the 32-bit range there are at least ten digits without a leading
  // zero, so dropping the last three leaves a number without one.
  const std::string sign = negative ? "-" : "";
  return {sign + std::string(digits),
          sign + std::string(digits.substr(0, digits.size() - kThousandDigits))};
}

FillingRow DecodeFillingRow(std::span<const unsigned char, kFillingRowLength> row) {
  return FillingRow{
      .total = SizeOfField(row, kConfSizeAt),
      .used = SizeOfField(row, kPagAt),
      .perm_used = SizeOfField(row, kPermUsedAt),
      .temp_used = SizeOfField(row, kTempUsedAt),
      .free = SizeOfField(row, kUnusedAt),
      .used_percent = PercentOfField(row, kPagesPercentAt),
      .perm_used_percent = PercentOfField(row, kPermPercentAt),
      .temp_used_percent = PercentOfField(row, kTempPercentAt),
      .free_percent = PercentOfField(row, kUnusedPercentAt),
  };
}

}  // namespace rfc
