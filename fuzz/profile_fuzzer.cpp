// The profile reader over any file text, in both kinds of run, and the
// password scrambling both ways.
//
// Input: the profile file. Its first twenty bytes also serve as a plain
// password for the scrambling round trip, with the body offset taken from
// the input's length.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "fuzz/support/check.h"
#include "platform/line_reader.h"

namespace {

bool IsPrintableNonBlank(char c) { return c >= 0x21 && c <= 0x7E; }

void ReadInBothRuns(std::string_view text) {
  const config::ProfileReading single =
      config::ReadProfile(platform::SplitLines(text, config::kSingleSystemLineLimit));
  if (single.defects.empty()) {
    fuzz::Require(!single.profile.User.empty() && !single.profile.Password.empty(),
                  "a profile without defects has a user and a password");
  } else {
    // A defective profile ends the single run with the first defect's text.
    fuzz::Require(!config::DefectMessage(single.defects.front(), "PRD.P00").empty(),
                  "a defect has its message");
  }
  config::ReadProfile(platform::SplitLines(text, config::kListingLineLimit));
}

void UnscrambleAsValue(std::string_view value) {
  if (value.empty()) return;
  const config::UnscrambledPassword result = config::UnscramblePassword(value);
  fuzz::Require(!result.well_formed || value.size() == config::kScrambledLength,
                "a well-formed value has 24 characters");
  fuzz::Require(!result.password || result.password->size() <= config::kLongestPassword,
                "an unscrambled password has at most 20 characters");
}

// What the profile tool writes, the sensor reads back unchanged.
void RoundTrip(std::string_view password, int offset) {
  const auto scrambled = config::ScramblePassword(password, offset, 1);
  if (!std::holds_alternative<std::string>(scrambled)) return;
  const std::string& value = std::get<std::string>(scrambled);
  fuzz::Require(value.size() == config::kScrambledLength, "a scrambled value has 24 characters");
  for (char c : value) {
    fuzz::Require(IsPrintableNonBlank(c), "a scrambled value is printable without blanks");
  }
  const config::UnscrambledPassword back = config::UnscramblePassword(value);
  fuzz::Require(back.well_formed && back.password == std::string(password),
                "a scrambled password unscrambles to itself");

  const std::vector<std::string> lines = {"Password...: " + value};
  const config::ProfileReading reading = config::ReadProfile(lines);
  for (const config::ProfileDefect& defect : reading.defects) {
    fuzz::Require(defect.line != 1, "a scrambled password's line has no defect");
  }
  fuzz::Require(reading.profile.Password == password,
                "a scrambled password reads back from its profile line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadInBothRuns(text);
  UnscrambleAsValue(text);
  UnscrambleAsValue(text.substr(0, config::kScrambledLength));
  RoundTrip(text.substr(0, config::kLongestPassword), static_cast<int>(size % 10));
  return 0;
}
