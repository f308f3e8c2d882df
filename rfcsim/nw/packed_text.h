// A packed (BCD) field as RfcGetString hands it out: its decimal text, the
// whole range of the field (an 11-byte field holds 21 digits, beyond any
// 64-bit integer), "-" before a negative value, a point before the last
// `decimals` digits.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace rfcsim::nw {

// nullopt when a digit nibble is not a decimal digit or the sign nibble is
// not a sign (A to F).
std::optional<std::string> PackedToText(std::span<const unsigned char> field, unsigned decimals);

}  // namespace rfcsim::nw
