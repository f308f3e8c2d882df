// The profile tool's side of the password: the steps of UnscramblePassword
// run backwards, with the offset and filler chosen so that the value stays
// printable.
#include <random>

#include "config/password_scramble.h"
#include "config/profile_key.h"

namespace config {
namespace {

constexpr std::string_view kFillerCandidates =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsPrintableNonBlank(char c) { return c >= 0x21 && c <= 0x7E; }

bool ScramblesPrintably(char c, std::size_t key_index) {
  return IsPrintableNonBlank(XorWithKey(c, key_index));
}

// Where character `index` of the filled password lies in the body: pair k
// (characters 2k and 2k+1) goes to positions k and 19 - k.
std::size_t BodyPosition(std::size_t index) {
  return index % 2 == 0 ? index / 2 : kBodyLength - 1 - index / 2;
}

std::size_t KeyIndex(int offset, std::size_t index) {
  return static_cast<std::size_t>(offset) + BodyPosition(index);
}

bool FitsAtOffset(std::string_view password, int offset) {
  for (std::size_t i = 0; i < password.size(); ++i) {
    if (!ScramblesPrintably(password[i], KeyIndex(offset, i))) {
      return false;
    }
  }
  return true;
}

std::optional<ScrambleRefusal> RefusalOf(std::string_view password) {
  if (password.size() > kLongestPassword) {
    return ScrambleRefusal::kTooLong;
  }
  for (char c : password) {
    if (!IsPasswordCharacter(c)) {
      return ScrambleRefusal::kCharacterNotAllowed;
    }
  }
  return std::nullopt;
}

char DrawFiller(std::mt19937& random, std::size_t key_index) {
  std::string usable;
  for (char c : kFillerCandidates) {
    if (ScramblesPrintably(c, key_index)) {
      usable.push_back(c);
    }
  }
  std::uniform_int_distribution<std::size_t> pick(0, usable.size() - 1);
  return usable[pick(random)];
}

char Digit(std::size_t n) { return static_cast<char>('0' + n); }

}  // namespace

bool IsPasswordCharacter(char c) { return IsPrintableNonBlank(c); }

std::vector<int> PrintableOffsets(std::string_view password) {
  std::vector<int> offsets;
  if (!RefusalOf(password)) {
    for (int offset = 0; offset <= kHighestOffset; ++offset) {
      if (FitsAtOffset(password, offset)) {
        offsets.push_back(offset);
      }
    }
  }
  return offsets;
}

std::variant<std::string, ScrambleRefusal> ScramblePassword(std::string_view password, int offset,
                                                            std::uint32_t filler_seed) {
  if (std::optional<ScrambleRefusal> refusal = RefusalOf(password)) {
    return *refusal;
  }
  if (offset < 0 || offset > kHighestOffset) {
    return ScrambleRefusal::kOffsetOutOfRange;
  }
  if (!FitsAtOffset(password, offset)) {
    return ScrambleRefusal::kNotPrintable;
  }

  std::mt19937 random(filler_seed);
  std::string filled(password);
  while (filled.size() < kBodyLength) {
    filled.push_back(DrawFiller(random, KeyIndex(offset, filled.size())));
  }

  std::string value = {CheckDigit(filled), Digit(static_cast<std::size_t>(offset)),
                       Digit(password.size() / 10), Digit(password.size() % 10)};
  for (std::size_t i = 0; i < kHeaderLength; ++i) {
    value[i] = XorWithKey(value[i], i);
  }
  value.resize(kScrambledLength);
  for (std::size_t i = 0; i < kBodyLength; ++i) {
    value[kHeaderLength + BodyPosition(i)] = XorWithKey(filled[i], KeyIndex(offset, i));
  }
  return value;
}

}  // namespace config
