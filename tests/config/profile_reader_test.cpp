#include "config/profile_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <variant>
#include <vector>

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "include/texts.h"
#include "platform/line_reader.h"

namespace {

using Lines = std::vector<std::string>;
using Member = std::string ConnectionProfile::*;

constexpr std::string_view kName = "PRD.P00";
const std::string kPassword = "Secret99";

std::string Scrambled(std::string_view password) {
  return std::get<std::string>(
      config::ScramblePassword(password, config::PrintableOffsets(password).front(), 42));
}

// `value` with the next check digit in place of its own.
std::string WithWrongCheckDigit(std::string value) {
  const char check = config::XorWithKey(value[0], 0);
  value[0] = config::XorWithKey(static_cast<char>('0' + (check - '0' + 1) % 10), 0);
  return value;
}

std::string Line(std::string_view label, std::string_view value) {
  return std::string(label) + " " + std::string(value);
}

Lines ValidLines() {
  return {"* PRD",
          Line("Extcompany.:", "ACME"),
          Line("Destination:", "PRD"),
          Line("Client.....:", "000"),
          Line("User.......:", "monitor"),
          Line("Password...:", Scrambled(kPassword)),
          Line("Language...:", "EN"),
          Line("Mode.......:", "R/3"),
          Line("Hostname...:", "sapprd01"),
          Line("Sysnr......:", "00"),
          Line("Gwhost.....:", "sapprd01"),
          Line("Gwservice..:", "sapgw00")};
}

// The valid lines with the line of `label` given `value`, or left out.
Lines With(std::string_view label, std::optional<std::string> value, Lines extra = {}) {
  Lines lines;
  for (const std::string& line : ValidLines()) {
    if (line.rfind(label, 0) != 0)
      lines.push_back(line);
    else if (value)
      lines.push_back(Line(label, *value));
  }
  lines.insert(lines.end(), extra.begin(), extra.end());
  return lines;
}

// The message the single-system run stops with; empty when it accepts.
std::string SingleRunMessage(const Lines& lines, ConnectionProfile& profile) {
  config::ProfileReading reading = config::ReadProfile(lines);
  profile = reading.profile;
  return reading.defects.empty() ? "" : config::DefectMessage(reading.defects.front(), kName);
}

std::string SingleRunMessage(const Lines& lines) {
  ConnectionProfile profile;
  return SingleRunMessage(lines, profile);
}

std::string Message(std::string_view prefix, std::string_view suffix) {
  return std::string(prefix).append(kName).append(suffix);
}

TEST(ReadProfile, ColumnsLabelsAndStoredForms) {
  struct Case {
    const char* what;
    Lines extra;
    Member field;
    std::string expected;
  };
  const std::string sixty(60, 'e');
  const std::vector<Case> cases = {
      {"trailing blanks stay", {"Client.....: 000 "}, &ConnectionProfile::Client, "000 "},
      {"inner blanks stay", {"Extcompany.: A  B"}, &ConnectionProfile::Extcompany, "A  B"},
      {"column 13 is not read", {"Client.....:X001"}, &ConnectionProfile::Client, "001"},
      {"values end after 60 characters",
       {"Extcompany.: " + sixty + "zz"},
       &ConnectionProfile::Extcompany,
       sixty},
      {"the label alone", {"Client.....:"}, &ConnectionProfile::Client, ""},
      {"label and separator", {"Client.....: "}, &ConnectionProfile::Client, ""},
      {"the later line wins",
       {"Client.....: 001", "Client.....: 002"},
       &ConnectionProfile::Client,
       "002"},
      {"labels are case-sensitive", {"client.....: 009"}, &ConnectionProfile::Client, "000"},
      {"labels start in column 1", {" Client.....: 009"}, &ConnectionProfile::Client, "000"},
      {"labels are compared whole", {"Client......: 009"}, &ConnectionProfile::Client, "000"},
      {"User is upper-cased, ASCII letters only",
       {"User.......: mon\xE4tor_1"},
       &ConnectionProfile::User,
       "MON\xE4TOR_1"},
      {"Hostname has a display copy",
       {"Hostname...: sapprd02"},
       &ConnectionProfile::HostnameDisplay,
       "sapprd02"},
  };
  for (const Case& c : cases) {
    Lines lines = ValidLines();
    lines.insert(lines.end(), c.extra.begin(), c.extra.end());
    EXPECT_EQ(config::ReadProfile(lines).profile.*c.field, c.expected) << c.what;
  }
}

TEST(ReadProfile, SingleRunAcceptsAValidProfile) {
  ConnectionProfile profile;
  EXPECT_EQ(SingleRunMessage(ValidLines(), profile), "");
  EXPECT_EQ(profile.Password, kPassword);
  EXPECT_EQ(profile.User, "MONITOR");
  EXPECT_EQ(profile.Hostname, "sapprd01");
  EXPECT_EQ(profile.HostnameDisplay, "sapprd01");
}

TEST(ReadProfile, SingleRunMessageIsPrefixNameSuffix) {
  EXPECT_EQ(SingleRunMessage(With("User.......:", {})),
            "Error 1006: Username in Profile PRD.P00 is missing...");
}

TEST(ReadProfile, SingleRunStopsAtTheFirstDefectInOrder) {
  const std::string valid = Scrambled(kPassword);
  const std::string wrong_check = WithWrongCheckDigit(valid);
  std::string not_digits = valid;
  not_digits[2] = config::XorWithKey('x', 2);
  const std::string p1004 = Message(texts::kError1004Prefix, texts::kError1004Suffix);
  const std::string p1005 = Message(texts::kError1005Prefix, texts::kError1005Suffix);
  const std::string p1006 = Message(texts::kError1006Prefix, texts::kError1006Suffix);
  const std::string p1007 = Message(texts::kError1007Prefix, texts::kError1007Suffix);
  const std::string p1003 = Message(texts::kError1003Prefix, texts::kError1003Suffix);
  struct Case {
    const char* what;
    Lines lines;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"password of 23 characters", With("Password...:", valid.substr(0, 23)), p1004},
      {"password of 25 characters", With("Password...:", valid + "x"), p1004},
      {"header not four digits", With("Password...:", not_digits), p1004},
      {"wrong check digit", With("Password...:", wrong_check), p1005},
      {"no User line", With("User.......:", {}), p1006},
      {"a User label in lower case", With("User.......:", {}, {"user.......: monitor"}), p1006},
      {"empty Password value", With("Password...:", ""), p1007},
      {"no Password line", With("Password...:", {}), p1007},
      {"password of one character", With("Password...:", Scrambled("x")), p1003},
      {"Client of two characters", With("Client.....:", "00"), p1003},
      {"Destination longer than it holds", With("Destination:", "PRD45678901x"), p1003},
      {"User longer than it holds", With("User.......:", std::string(48, 'u')), p1003},
      {"Sysnr longer than it holds", With("Sysnr......:", std::string(32, '0')), p1003},
      {"a bad password ends the run before a good line",
       With("User.......:", {}, {Line("Password...:", "short"), Line("Password...:", valid)}),
       p1004},
      {"1005 at once, before a later malformed line",
       With("Password...:", wrong_check, {Line("Password...:", "short")}), p1005},
      {"1006 comes before 1007", With("User.......:", {}, {Line("Password...:", "")}), p1006},
      {"1007 comes before 1003", With("Client.....:", "0", {Line("Password...:", "")}), p1007},
  };
  for (const Case& c : cases) {
    const std::string message = SingleRunMessage(c.lines);
    EXPECT_EQ(message, c.message) << c.what;
    EXPECT_EQ(message.find(kPassword), std::string::npos) << c.what;
  }
}

// A listing run fails a system with any defect, but logs on with what was
// read: a password value that fails to unscramble keeps the earlier one,
// unless it still passes its check digit.
TEST(ReadProfile, ListingRunPasswordAndFailure) {
  const std::string valid = Scrambled(kPassword);
  const std::string wrong_check = WithWrongCheckDigit(valid);
  const std::string other = Scrambled("Other77");
  struct Case {
    const char* what;
    Lines lines;
    bool failed;
    std::string password;
  };
  const auto after_valid = [](const std::string& value) {
    return With("Extcompany.:", "ACME", {Line("Password...:", value)});
  };
  const std::vector<Case> cases = {
      {"a valid profile", ValidLines(), false, kPassword},
      {"no lines", {}, true, ""},
      {"empty Password value", With("Password...:", ""), true, ""},
      {"wrong check digit keeps the earlier password", after_valid(wrong_check), true, kPassword},
      {"malformed, failing the check", after_valid(std::string(24, 'x')), true, kPassword},
      {"malformed, passing the check: taken", after_valid(other + "Z"), true, "Other77"},
      {"a value longer than its field", With("Destination:", "PRD45678901x"), true, kPassword},
      {"a value shorter than its minimum", With("Client.....:", "00"), true, kPassword},
  };
  for (const Case& c : cases) {
    const config::ProfileReading reading = config::ReadProfile(c.lines);
    EXPECT_EQ(!reading.defects.empty(), c.failed) << c.what;
    EXPECT_EQ(reading.profile.Password, c.password) << c.what;
  }
}

TEST(ProfileFields, MinimumAndLongestLengths) {
  struct Case {
    Member field;
    std::string_view name;
    std::size_t minimum;
    std::size_t longest;
  };
  const std::vector<Case> cases = {
      {&ConnectionProfile::Extcompany, "Extcompany", 2, 63},
      {&ConnectionProfile::Destination, "Destination", 3, 11},
      {&ConnectionProfile::Client, "Client", 3, 11},
      {&ConnectionProfile::User, "User", 2, 47},
      {&ConnectionProfile::Password, "Password", 2, 31},
      {&ConnectionProfile::Language, "Language", 1, 31},
      {&ConnectionProfile::Mode, "Mode", 3, 31},
      {&ConnectionProfile::Hostname, "Hostname", 2, 47},
      {&ConnectionProfile::Sysnr, "Sysnr", 2, 31},
      {&ConnectionProfile::Gwhost, "Gwhost", 2, 61},
      {&ConnectionProfile::Gwservice, "Gwservice", 2, 31},
  };
  ConnectionProfile valid;
  EXPECT_EQ(SingleRunMessage(ValidLines(), valid), "");
  for (const Case& c : cases) {
    ConnectionProfile profile = valid;
    profile.*c.field = std::string(c.minimum - 1, 'x');
    EXPECT_EQ(config::FirstShortField(profile), c.name);
    profile.*c.field = std::string(c.minimum, 'x');
    EXPECT_EQ(config::FirstInvalidField(profile), std::nullopt) << c.name;
    profile.*c.field = std::string(c.longest + 1, 'x');
    EXPECT_EQ(config::FirstOverlongField(profile), c.name);
    EXPECT_EQ(config::FirstInvalidField(profile), c.name);
  }
  valid.Client = "0";
  valid.Extcompany = "A";
  EXPECT_EQ(config::FirstShortField(valid), "Extcompany");
}

// The profile read from `text` split with the line limit `limit`.
ConnectionProfile ReadText(std::string_view text, std::size_t limit) {
  return config::ReadProfile(platform::SplitLines(text, limit)).profile;
}

std::string Joined(const Lines& lines, std::string_view end) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append(end);
  return text;
}

TEST(ReadProfile, LineLimitsAndLineEnds) {
  const std::string lf = Joined(ValidLines(), "\n");
  for (std::size_t limit : {config::kSingleSystemLineLimit, config::kListingLineLimit}) {
    // A comment as long as the limit, then a label: cut there, the rest is
    // read as a line of its own.
    const std::string text = lf + "*" + std::string(limit - 1, '-') + "User.......: other\n";
    EXPECT_EQ(ReadText(text, config::kSingleSystemLineLimit).User,
              limit == config::kSingleSystemLineLimit ? "OTHER" : "MONITOR");
    EXPECT_EQ(ReadText(text, config::kListingLineLimit).User,
              limit == config::kListingLineLimit ? "OTHER" : "MONITOR");
  }
  const ConnectionProfile from_lf = ReadText(lf, config::kSingleSystemLineLimit);
  const ConnectionProfile from_crlf =
      ReadText(Joined(ValidLines(), "\r\n"), config::kSingleSystemLineLimit);
  for (const config::ProfileField& field : config::kProfileFields) {
    EXPECT_EQ(from_crlf.*field.member, from_lf.*field.member) << field.name;
  }
  EXPECT_EQ(ReadText(lf.substr(0, lf.size() - 1), config::kSingleSystemLineLimit).Gwservice,
            "sapgw00");
}

TEST(ReadProfile, HostileInputGivesADefinedResult) {
  std::mt19937 random(3);
  std::string binary(64 * 1024, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  const std::string valid = Joined(ValidLines(), "\n");
  struct Case {
    const char* what;
    std::string text;
    std::string single_message;
    bool listing_failed;
  };
  const std::string p1006 = Message(texts::kError1006Prefix, texts::kError1006Suffix);
  const std::string p1003 = Message(texts::kError1003Prefix, texts::kError1003Suffix);
  const std::vector<Case> cases = {
      {"empty file", "", p1006, true},
      {"binary data", binary, p1006, true},
      {"a NUL ends the value",
       valid + std::string("Client.....: 0\0"
                           "00\n",
                           18),
       p1003, true},
      {"a line of 1 MB", valid + "User.......: " + std::string(1 << 20, 'u'), p1003, true},
      {"only line ends", std::string(1000, '\n') + std::string(1000, '\r'), p1006, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SingleRunMessage(platform::SplitLines(c.text, config::kSingleSystemLineLimit)),
              c.single_message)
        << c.what;
    EXPECT_EQ(config::ReadProfile(platform::SplitLines(c.text, config::kListingLineLimit))
                  .defects.empty(),
              !c.listing_failed)
        << c.what;
  }
}

}  // namespace
