// The key that scrambles the password of a profile file. The sensor and the
// profile tool share this one definition: a value written with one key does
// not unscramble with another, so it must never change once profiles exist.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace config {

// Why these bytes. Every scrambled character is a plain character XORed
// with one key byte, and the tool must write values of printable characters
// other than blank (0x21-0x7E), so nobody's editor trims or mangles them.
//
// - A key byte of 0x20 or above moves a whole block of 32 characters onto
//   another block, and one of the blocks 0x00-0x1F or 0x7F-0x9F is always
//   hit: all digits, all capitals or all small letters would turn into
//   control characters. So every byte lies in 0x01-0x1F: XOR then keeps a
//   character inside its block of 32 (0x20-0x3F, 0x40-0x5F, 0x60-0x7F).
// - Inside the blocks, a byte k still turns exactly two characters bad:
//   0x20 ^ k into a blank and 0x7F ^ k into DEL. No key byte other than 0
//   avoids that, so the tool picks the offset of the body (0-9) for each
//   password such that no character meets "its" key byte. The 29 bytes that
//   are ever read (offsets 0-28) are all different: then a character at a
//   given body position spoils at most one of the ten offsets, and every
//   password of up to nine characters has a printable value. Longer ones
//   nearly always have one; the tool refuses the rare rest.
// - Bytes 0-3 scramble the header digits and avoid 0x10-0x19, which would
//   turn one of the digits into a blank.
// - Capitals and "@[\]^_" (0x40-0x5F) stay printable under every byte; the
//   tool's filler characters are chosen per position from letters and digits
//   that do.
inline constexpr std::array<std::uint8_t, 32> kProfileKey = {
    0x0B, 0x1D, 0x06, 0x0E, 0x13, 0x02, 0x1A, 0x09, 0x15, 0x0C, 0x1F, 0x04, 0x17, 0x11, 0x08, 0x1C,
    0x03, 0x19, 0x0D, 0x16, 0x01, 0x1E, 0x0A, 0x12, 0x07, 0x18, 0x0F, 0x14, 0x05, 0x1B, 0x10, 0x0B,
};

// Layout of a scrambled value: a header of four digits (check digit D0, body
// offset D1, length N as two digits), then the twenty-character body.
inline constexpr std::size_t kScrambledLength = 24;
inline constexpr std::size_t kHeaderLength = 4;
inline constexpr std::size_t kBodyLength = 20;
inline constexpr int kHighestOffset = 9;

// Body character i is XORed with key byte D1 + i, so at most bytes 0-28
// are read.
static_assert(kHighestOffset + kBodyLength <= kProfileKey.size());

// Scrambling and unscrambling alike: `c` XORed with key byte `key_index`.
inline char XorWithKey(char c, std::size_t key_index) {
  return static_cast<char>(static_cast<unsigned char>(c) ^ kProfileKey.at(key_index));
}

}  // namespace config
