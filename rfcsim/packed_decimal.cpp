#include "rfcsim/packed_decimal.h"

#include <vector>

namespace rfcsim {

bool EncodePacked(std::int64_t value, std::span<unsigned char> field) {
  if (field.empty()) return false;
  // The magnitude in unsigned arithmetic, so that the most negative value
  // has one as well.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);

  const std::size_t digit_count = field.size() * 2 - 1;
  std::vector<unsigned char> nibbles(field.size() * 2, 0);
  nibbles.back() = value < 0 ? 0x0D : 0x0C;
  for (std::size_t i = digit_count; i-- > 0 && magnitude != 0;) {
    nibbles[i] = static_cast<unsigned char>(magnitude % 10);
    magnitude /= 10;
  }
  if (magnitude != 0) return false;

  for (std::size_t i = 0; i < field.size(); ++i) {
    field[i] = static_cast<unsigned char>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  }
  return true;
}

}  // namespace rfcsim
