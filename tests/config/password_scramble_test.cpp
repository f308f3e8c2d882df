#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <variant>

#include "config/password_scramble.h"
#include "config/profile_key.h"

namespace {

using config::ScrambleRefusal;

bool IsPrintableNonBlank(char c) { return c >= 0x21 && c <= 0x7E; }

// A value made by hand. `header` holds the four characters as they read
// after unscrambling; `plain` the body in the order it unscrambles to (pairs
// from both ends), a '\0' where a body character is to become 0.
std::string RawValue(std::string_view header, std::size_t offset, std::string_view plain) {
  std::string body(config::kBodyLength, '\0');
  for (std::size_t i = 0; i < plain.size(); ++i) {
    body[i % 2 == 0 ? i / 2 : config::kBodyLength - 1 - i / 2] = plain[i];
  }
  std::string value;
  for (std::size_t i = 0; i < header.size(); ++i) value += config::XorWithKey(header[i], i);
  for (std::size_t i = 0; i < body.size(); ++i) value += config::XorWithKey(body[i], offset + i);
  return value;
}

std::string Header(char check, char offset, std::string_view length) {
  return std::string{check, offset} + std::string(length);
}

TEST(ProfileKey, ScrambledHeaderDigitsArePrintable) {
  for (std::size_t i = 0; i < config::kHeaderLength; ++i) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      EXPECT_TRUE(IsPrintableNonBlank(config::XorWithKey(digit, i))) << i << " " << digit;
    }
  }
}

// A character spoils at most one of the ten offsets wherever it stands, so
// every password of up to nine characters has a printable value; capitals
// and "@[\]^_" spoil none.
TEST(ProfileKey, EachPasswordCharacterSpoilsAtMostOneOffset) {
  for (int code = 0x21; code <= 0x7E; ++code) {
    for (std::size_t position = 0; position < config::kLongestPassword; ++position) {
      const std::string password = std::string(position, 'A') + static_cast<char>(code);
      const std::size_t fitting = config::PrintableOffsets(password).size();
      const std::size_t expected = code >= 0x40 && code <= 0x5F ? 10 : 9;
      EXPECT_GE(fitting, expected) << "character " << code << " at " << position;
    }
  }
}

TEST(ScramblePassword, EveryLengthAndOffsetUnscramblesToThePassword) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> character(0x21, 0x7E);
  for (std::size_t length = 2; length <= config::kLongestPassword; ++length) {
    for (int round = 0; round < 30; ++round) {
      std::string password;
      while (password.size() < length) password += static_cast<char>(character(random));
      const std::vector<int> fitting = config::PrintableOffsets(password);
      if (length <= 9) {
        EXPECT_FALSE(fitting.empty()) << password;
      }
      for (int offset = 0; offset <= config::kHighestOffset; ++offset) {
        auto result = config::ScramblePassword(password, offset, random());
        if (std::find(fitting.begin(), fitting.end(), offset) == fitting.end()) {
          EXPECT_EQ(std::get<ScrambleRefusal>(result), ScrambleRefusal::kNotPrintable);
          continue;
        }
        const std::string& value = std::get<std::string>(result);
        ASSERT_EQ(value.size(), config::kScrambledLength);
        EXPECT_TRUE(std::all_of(value.begin(), value.end(), IsPrintableNonBlank)) << value;
        const config::UnscrambledPassword back = config::UnscramblePassword(value);
        EXPECT_TRUE(back.well_formed) << value;
        EXPECT_EQ(back.password, password) << "offset " << offset;
      }
    }
  }
}

TEST(ScramblePassword, RefusesWhatItCannotWrite) {
  struct Case {
    std::string password;
    int offset;
    ScrambleRefusal refusal;
  };
  const std::vector<Case> cases = {
      {std::string(21, 'a'), 0, ScrambleRefusal::kTooLong},
      {"pass word", 0, ScrambleRefusal::kCharacterNotAllowed},
      {"pass\x7Fword", 0, ScrambleRefusal::kCharacterNotAllowed},
      {"p\xC3\xA4ss", 0, ScrambleRefusal::kCharacterNotAllowed},
      {"password", -1, ScrambleRefusal::kOffsetOutOfRange},
      {"password", 10, ScrambleRefusal::kOffsetOutOfRange},
      {"t", 0, ScrambleRefusal::kNotPrintable},  // 't' XOR key byte 0 (0x0B) is DEL
  };
  for (const Case& c : cases) {
    auto result = config::ScramblePassword(c.password, c.offset, 1);
    ASSERT_EQ(result.index(), 1u) << c.password;
    EXPECT_EQ(std::get<ScrambleRefusal>(result), c.refusal) << c.password;
  }
  EXPECT_EQ(config::ScramblePassword("Secret99", 4, 77),
            config::ScramblePassword("Secret99", 4, 77));
}

TEST(UnscramblePassword, FormCheckDigitAndLenientReading) {
  const std::string filled = "S!cret99ABCDEFGHIJKL";
  const char check = config::CheckDigit(filled);
  const char wrong_check = static_cast<char>('0' + (check - '0' + 1) % 10);
  const std::string valid = RawValue(Header(check, '3', "08"), 3, filled);
  struct Case {
    const char* what;
    std::string value;
    bool well_formed;
    std::optional<std::string> password;
  };
  const std::vector<Case> cases = {
      {"eight characters, the filler dropped", valid, true, "S!cret99"},
      {"a wrong check digit", RawValue(Header(wrong_check, '3', "08"), 3, filled), true, {}},
      {"a length beyond the body takes all of it", RawValue(Header(check, '3', "99"), 3, filled),
       true, filled},
      {"length 00", RawValue(Header(check, '3', "00"), 3, filled), true, ""},
      {"a body character that becomes 0 is left out",
       RawValue(Header(config::CheckDigit("Secret99ABCDEFGHIJK"), '0', "08"), 0,
                std::string("Sec\0ret99ABCDEFGHIJK", 20)),
       true, "Secret99"},
      // Malformed values still unscramble as far as they go.
      {"25 characters: the body is the same", valid + "Z", false, "S!cret99"},
      {"23 characters: the last body character is missing", valid.substr(0, 23), false, "Scret99A"},
      {"length stops at the first non-digit", RawValue(Header(check, '3', "1x"), 3, filled), false,
       "S"},
      {"an offset that is no digit reads as 0", RawValue(Header(check, 'x', "08"), 0, filled),
       false, "S!cret99"},
      {"a lone check digit", RawValue("0", 0, "").substr(0, 1), false, ""},
      {"a header that is no digit fails the check", std::string(24, 'x'), false, {}},
  };
  for (const Case& c : cases) {
    const config::UnscrambledPassword result = config::UnscramblePassword(c.value);
    EXPECT_EQ(result.well_formed, c.well_formed) << c.what;
    EXPECT_EQ(result.password, c.password) << c.what;
  }
}

TEST(UnscramblePassword, AnyBytesGiveADefinedResult) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(1, 40);
  for (int round = 0; round < 5000; ++round) {
    std::string value(length(random), '\0');
    for (char& c : value) c = static_cast<char>(byte(random));
    const config::UnscrambledPassword result = config::UnscramblePassword(value);
    if (result.well_formed) {
      EXPECT_EQ(value.size(), config::kScrambledLength);
    }
    if (result.password) {
      EXPECT_LE(result.password->size(), config::kBodyLength);
    }
  }
}

}  // namespace
