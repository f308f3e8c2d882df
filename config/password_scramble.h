// The scrambled form of a profile's password: 24 characters, a header of
// four digits and a body of twenty, all XORed with the profile key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace config {

// What the sensor makes of a scrambled value.
struct UnscrambledPassword {
  // 24 characters with a header of four digits. A value that is not well
  // formed is still unscrambled as far as it goes (the listing run keeps
  // what passes the check digit), but the single-system run refuses it.
  bool well_formed = false;
  // The plain password when the check digit matches; empty otherwise.
  std::optional<std::string> password;
};

// Unscrambles `value` (not empty). Never reads outside the value: missing
// header or body characters are treated as absent. The header's offset
// and length are read as numbers that stop at the first non-digit (0 when
// the first is none); body characters that unscramble to 0 are dropped;
// the password is at most as long as what the body holds.
UnscrambledPassword UnscramblePassword(std::string_view value);

// The check digit of an unscrambled body: the last decimal digit of the sum
// of the codes of its letters (A-Z, a-z) and digits.
char CheckDigit(std::string_view unscrambled);

// Plain passwords the scrambling takes: printable ASCII other than blank.
bool IsPasswordCharacter(char c);
inline constexpr std::size_t kLongestPassword = 20;

enum class ScrambleRefusal {
  kTooLong,              // more than twenty characters
  kCharacterNotAllowed,  // a character outside IsPasswordCharacter
  kOffsetOutOfRange,     // not 0-9
  kNotPrintable,         // at this offset a character would become blank or DEL
};

// The body offsets (0-9) at which `password` scrambles to printable
// characters other than blank; empty for a password that is refused anyway.
std::vector<int> PrintableOffsets(std::string_view password);

// Scrambles `password` with body offset `offset`. The filler characters that
// make it up to twenty are letters and digits drawn from a generator seeded
// with `filler_seed`, so the same arguments give the same value. The result
// consists of printable characters other than blank only.
std::variant<std::string, ScrambleRefusal> ScramblePassword(std::string_view password, int offset,
                                                            std::uint32_t filler_seed);

}  // namespace config
