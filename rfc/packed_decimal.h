// Packed-decimal fields as SAP systems send them: 2n nibbles, most
// significant first, the last one the sign (hexadecimal D negative, any
// other value positive).
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace rfc {

// Two upper-case hexadecimal digits per byte.
std::string HexText(std::span<const unsigned char> bytes);

// The signed decimal text of a packed field with `decimals` places: the sign,
// the 2n - 1 - decimals integer digits with their leading zeros, then "." and
// the decimals when there are any. Digit nibbles are not validated: a nibble
// of 10 to 15 shows as its hexadecimal letter. An empty field gives "+";
// decimals beyond the 2n - 1 digits are taken as all of them.
std::string PackedToText(std::span<const unsigned char> field, std::size_t decimals);

}  // namespace rfc
