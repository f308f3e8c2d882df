// Packed decimal as SAP systems send it: a field of n bytes holds 2n
// nibbles, most significant first; the first 2n - 1 are decimal digits and
// the last is the sign (C for positive or zero, D for negative).
#pragma once

#include <cstdint>
#include <span>

namespace rfcsim {

// Writes `value` over the whole field. Returns false, leaving the field
// untouched, when its digits do not fit into 2n - 1 nibbles.
bool EncodePacked(std::int64_t value, std::span<unsigned char> field);

}  // namespace rfcsim
