// Packed decimals (BCD) as the classic library delivered them in a row:
// 2n - 1 digit nibbles, most significant first, and a sign nibble, C for
// zero and above, D below zero.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rfc::nw {

// Packs the decimal text the NetWeaver library gives for a packed field
// ("-1", "2147483648", "12.50"; blanks around it and a leading "+" are
// allowed) into exactly `length` bytes with `decimals` places. Nothing when
// the text is not a number or the value does not fit: a number is never cut.
std::optional<std::string> PackDecimalText(std::string_view text, std::size_t length,
                                           std::size_t decimals);

}  // namespace rfc::nw
