// One row of ADA_DB_FILLING's table DEVSTAT, decoded into the numbers the
// sensor reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rfc {

inline constexpr std::size_t kFillingRowLength = 144;

// A size of the data area as reported: the raw number (pages as the system
// counts them) and the same divided by 1000, remainder dropped.
struct FillingSize {
  std::string raw;
  std::string megabytes;

  bool operator==(const FillingSize&) const = default;
};

// Reads the text of a packed size field (a sign and digits) the way C's
// strtol does: the sign, then the digits up to the first non-digit; leading
// zeros count for nothing and no digits read as 0.
//  - A value within the signed 32-bit range is reported in its unsigned
//    32-bit form, as monitors have always received it: -1 becomes
//    4294967295, megabytes 4294967.
//  - A value outside that range (the field holds 21 digits) is reported
//    exactly, with its sign, and its megabytes as the exact quotient
//    truncated toward zero: 2147483648 stays 2147483648 (2147483 MB),
//    -2147483649 stays -2147483649 (-2147483 MB). Decimal text arithmetic
//    keeps every digit; nothing wraps or saturates.
FillingSize SizeFromPackedText(std::string_view packed_text);

struct FillingRow {
  FillingSize total;      // CONF_SIZE
  FillingSize used;       // PAG
  FillingSize perm_used;  // PERM_USED
  FillingSize temp_used;  // TEMP_USED
  FillingSize free;       // UN_USED
  // The per-cent fields, their 32-bit integers in unsigned form.
  std::uint32_t used_percent;       // PAGESx
  std::uint32_t perm_used_percent;  // PERMx_USED
  std::uint32_t temp_used_percent;  // TEMPx_USED
  std::uint32_t free_percent;       // UNx_USED

  bool operator==(const FillingRow&) const = default;
};

// Decodes a DEVSTAT row as the library hands it out: five 11-byte packed
// sizes and four native 32-bit integers at fixed offsets.
FillingRow DecodeFillingRow(std::span<const unsigned char, kFillingRowLength> row);

}  // namespace rfc
