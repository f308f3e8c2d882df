// The profile file as the sensor reads it in a single-system run: each
// defect with its message, and the ways of writing a profile that still
// read as the operator meant.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "config/profile_key.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/expectations.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using ::testing::IsEmpty;

constexpr std::string_view kCrLf = "\r\n";

// The usual profile with the line of `label` replaced by `line`, or dropped
// when `line` is empty.
std::string Replaced(std::string_view label, std::string_view line) {
  std::string usual = ProfileText({});
  std::string text;
  std::size_t from = 0;
  while (from < usual.size()) {
    std::size_t end = usual.find(kCrLf, from);
    std::string_view current = std::string_view(usual).substr(from, end - from);
    if (!current.starts_with(label)) {
      text.append(current).append(kCrLf);
    } else if (!line.empty()) {
      text.append(line).append(kCrLf);
    }
    from = end + kCrLf.size();
  }
  return text;
}

std::string WithPassword(std::string_view value) {
  return Replaced("Password...:", ProfileLine("Password...:", value));
}

// The usual scrambled password with header characters replaced, from `at`
// on, by those that unscramble to `plain`.
std::string HeaderChanged(std::size_t at, std::string_view plain) {
  std::string value = Scrambled(kPassword);
  for (char c : plain) {
    value[at] = config::XorWithKey(c, at);
    ++at;
  }
  return value;
}

// The header's check digit, one more than it should be.
std::string WrongCheckDigit() {
  std::string value = Scrambled(kPassword);
  char digit = config::XorWithKey(value[0], 0);
  return HeaderChanged(0, std::string(1, static_cast<char>('0' + (digit - '0' + 1) % 10)));
}

// A line of the first piece's full length, 159 characters, then `rest`:
// the sensor reads `rest` as a line of its own.
std::string CutLine(std::string_view rest) {
  std::string line = "Extcompany.: ";
  line.append(159 - line.size(), 'e');
  return line.append(rest);
}

// Every byte but the line feed, twice over: longer than a line may be.
std::string BinaryJunk() {
  std::string junk;
  for (int round = 0; round < 2; ++round) {
    for (int byte = 0; byte < 256; ++byte) {
      if (byte != '\n') junk.push_back(static_cast<char>(byte));
    }
  }
  return junk;
}

std::string Message(std::string_view prefix, std::string_view suffix) {
  return std::string(prefix) + "PRD.P00" + std::string(suffix);
}

const std::string kError1003 = Message("Error 1003: Invalid Parameter(s) at ", " found...");
const std::string kError1004 = Message("Error 1004: Invalid Password in Profile ", " found...");
const std::string kError1005 = Message("Error 1005: Wrong Password in Profile ", " found...");
const std::string kError1006 = Message("Error 1006: Username in Profile ", " is missing...");
const std::string kError1007 = Message("Error 1007: Password in Profile ", " is missing...");

struct DefectCase {
  std::string name;
  std::string profile;
  // The error document's message.
  std::string message;
  std::map<std::string, std::string> environment = {};
};

void PrintTo(const DefectCase& c, std::ostream* out) { *out << c.name; }

class ProfileDefect : public ::testing::TestWithParam<DefectCase> {};

// The run ends with the error document before anything reaches the library.
TEST_P(ProfileDefect, EndsWithErrorDocument) {
  const DefectCase& c = GetParam();
  SingleRunResult result = RunSingle({.profile = c.profile, .environment = c.environment});
  ExpectErrorDocument(result.outcome, c.message);
  EXPECT_THAT(result.record, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ProfileDefect,
    ::testing::Values(
        DefectCase{"NoUserLine", Replaced("User.......:", ""), kError1006},
        DefectCase{"UserLabelInLowerCase",
                   Replaced("User.......:", ProfileLine("user.......:", "monitor")), kError1006},
        DefectCase{"UserLabelOnly", Replaced("User.......:", "User.......:"), kError1006},
        DefectCase{"EmptyFile", "", kError1006},
        DefectCase{"OnlyBinaryBytes", BinaryJunk(), kError1006},
        DefectCase{"PasswordLabelOnly", Replaced("Password...:", "Password...:"), kError1007},
        DefectCase{"PasswordLabelAndBlank", Replaced("Password...:", "Password...: "), kError1007},
        DefectCase{"NoPasswordLine", Replaced("Password...:", ""), kError1007},
        DefectCase{"PasswordOf23Characters", WithPassword(Scrambled(kPassword).substr(0, 23)),
                   kError1004},
        DefectCase{"PasswordOf25Characters", WithPassword(Scrambled(kPassword) + "A"), kError1004},
        DefectCase{"PasswordWithTrailingBlank", WithPassword(Scrambled(kPassword) + " "),
                   kError1004},
        DefectCase{"PasswordInPlainText", WithPassword(kPassword), kError1004},
        DefectCase{"HeaderOffsetNotADigit", WithPassword(HeaderChanged(1, "x")), kError1004},
        DefectCase{"HeaderLengthNotADigit", WithPassword(HeaderChanged(3, ":")), kError1004},
        DefectCase{"WrongCheckDigit", WithPassword(WrongCheckDigit()), kError1005},
        // The length is not part of the check: a length of 0 leaves no password.
        DefectCase{"LengthZero", WithPassword(HeaderChanged(2, "00")), kError1007},
        DefectCase{"ClientOfTwoCharacters",
                   Replaced("Client.....:", ProfileLine("Client.....:", "10")), kError1003},
        DefectCase{"DestinationOf12Characters",
                   Replaced("Destination:", ProfileLine("Destination:", "PRODUCTION01")),
                   kError1003},
        DefectCase{"ExtcompanyOfOneCharacter",
                   Replaced("Extcompany.:", ProfileLine("Extcompany.:", "A")), kError1003},
        DefectCase{"EmptyLanguage", Replaced("Language...:", "Language...: "), kError1003},
        DefectCase{"SysnrOfOneCharacter",
                   Replaced("Sysnr......:", ProfileLine("Sysnr......:", "0")), kError1003},
        // Notepad's byte order mark hides the label of the first line.
        DefectCase{"ByteOrderMarkBeforeFirstLabel", "\xEF\xBB\xBF" + Replaced("* Brackwater", ""),
                   kError1003},
        // The error document is PRTG XML whatever the monitor.
        DefectCase{"InHalvaricFlavour",
                   Replaced("User.......:", ""),
                   kError1006,
                   {{"BRACKWATER_FLAVOUR", "Halvaric"}}}),
    NameOfCase);

// Which defect is reported when there are several.
INSTANTIATE_TEST_SUITE_P(
    Order, ProfileDefect,
    ::testing::Values(
        DefectCase{"UserBeforePassword",
                   "Client.....: 100\r\nExtcompany.: ACME\r\nDestination: PRD\r\n", kError1006},
        DefectCase{"PasswordBeforeLengths",
                   "User.......: monitor\r\nClient.....: 10\r\nDestination: PRODUCTION01\r\n",
                   kError1007},
        // A malformed password ends the reading at its line, before the
        // missing User is noticed.
        DefectCase{"MalformedPasswordAtOnce",
                   "Password...: " + Scrambled(kPassword).substr(0, 23) + "\r\nClient.....: 10\r\n",
                   kError1004},
        DefectCase{"CheckDigitAtOnce", "Password...: " + WrongCheckDigit() + "\r\n", kError1005},
        // Of two password lines the first already ends the run.
        DefectCase{"FirstOfTwoPasswordLines",
                   WithPassword("x") + ProfileLine("Password...:", Scrambled(kPassword)) + "\r\n",
                   kError1004}),
    NameOfCase);

struct ReadingCase {
  std::string name;
  std::string profile;
  // The whole standard output.
  std::string out;
  int exit_code = 0;
  // Files the run leaves changed besides rfcsim's record.
  std::vector<std::string> changed = {};
};

void PrintTo(const ReadingCase& c, std::ostream* out) { *out << c.name; }

class ProfileReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ProfileReading, ReadsAsWritten) {
  const ReadingCase& c = GetParam();
  SingleRunResult result = RunSingle({.profile = c.profile});
  EXPECT_EQ(result.outcome.out, c.out);
  EXPECT_EQ(result.outcome.exit_code, c.exit_code);
  EXPECT_EQ(result.outcome.err, "");
  EXPECT_EQ(result.changed_files, c.changed);
}

const std::string kClient999 = ProfileLine("Client.....:", "999");
const std::string kLogonFailed = PrtgErrorDocument("Error 1011: RFC-Open for PRD failed !");

INSTANTIATE_TEST_SUITE_P(
    LineEnds, ProfileReading,
    ::testing::Values(ReadingCase{"CrLf", ProfileText({}, "\r\n"), ExamplePrtgDocument()},
                      ReadingCase{"LineFeedOnly", ProfileText({}, "\n"), ExamplePrtgDocument()},
                      ReadingCase{"LastLineWithoutEnd",
                                  Replaced("Gwservice..:", "") + "Gwservice..: sapgw00",
                                  ExamplePrtgDocument()},
                      ReadingCase{"MixedLineEnds",
                                  ProfileText({}, "\n") + ProfileLine("Client.....:", "100") +
                                      "\r\n" + ProfileLine("Language...:", "E"),
                                  ExamplePrtgDocument()}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileReading,
    ::testing::Values(
        // The later of two lines wins: the logon uses client 100...
        ReadingCase{"SecondClientLineWins",
                    Replaced("Client.....:", kClient999 + "\r\nClient.....: 100"),
                    ExamplePrtgDocument()},
        // ...or client 999, which the system does not have.
        ReadingCase{"SecondClientLineWinsAlsoWhenWrong",
                    Replaced("Client.....:", "Client.....: 100\r\n" + kClient999),
                    kLogonFailed,
                    2,
                    {"Dev_Rfc.Trc"}},
        // A line is cut after 159 characters; the rest is a line of its own
        // and here names the client that logs on.
        ReadingCase{"RestOfCutLineIsALine",
                    Replaced("Client.....:", kClient999) + CutLine("Client.....: 100") + "\r\n",
                    ExamplePrtgDocument()},
        // One character later the rest begins with it and names nothing.
        ReadingCase{"CutOneCharacterLater",
                    Replaced("Client.....:", kClient999) + CutLine("eClient.....: 100") + "\r\n",
                    kLogonFailed,
                    2,
                    {"Dev_Rfc.Trc"}},
        // A length beyond the twenty characters of the body takes them all:
        // the password and its filler, which the system refuses.
        ReadingCase{"LengthBeyondBody",
                    WithPassword(HeaderChanged(2, "99")),
                    kLogonFailed,
                    2,
                    {"Dev_Rfc.Trc"}},
        // The value starts in column 14, whatever column 13 holds...
        ReadingCase{"NoSeparatorLosesFirstCharacter",
                    Replaced("User.......:", "User.......:monitor"),
                    kLogonFailed,
                    2,
                    {"Dev_Rfc.Trc"}},
        // ...and holds 60 characters at most: 64 would be too many.
        ReadingCase{"ValueCutAfter60Characters",
                    Replaced("Extcompany.:", ProfileLine("Extcompany.:", std::string(64, 'e'))),
                    ExamplePrtgDocument()},
        // Values end at a NUL byte, as C text does.
        ReadingCase{"ValueEndsAtNul",
                    Replaced("User.......:", std::string("User.......: monitor\0TRAILER", 28)),
                    ExamplePrtgDocument()},
        ReadingCase{"BinaryLinesBetween",
                    BinaryJunk() + "\r\n" + ProfileText({}) + BinaryJunk() + "\r\n",
                    ExamplePrtgDocument()},
        ReadingCase{"ValueAfterAnySeparator", Replaced("Client.....:", "Client.....:\t100"),
                    ExamplePrtgDocument()},
        ReadingCase{
            "DestinationOf11Characters",
            Replaced("Destination:", ProfileLine("Destination:", "PRODUCTION1")),
            PrtgDocument(FillingText("PRODUCTION1", "5000", "37", "63"), ExampleChannels())},
        // Bytes XML cannot carry as they are: control characters become
        // blanks, the upper half character references.
        ReadingCase{"ControlCharacterInDestination",
                    Replaced("Destination:", ProfileLine("Destination:",
                                                         "P\x01"
                                                         "D")) +
                        ProfileLine("Hostname...:", "nowhere"),
                    PrtgErrorDocument("Error 1011: RFC-Open for P D failed !"),
                    2,
                    {"Dev_Rfc.Trc"}},
        ReadingCase{"UpperHalfByteInDestination",
                    Replaced("Destination:", ProfileLine("Destination:", "PR\xC4")),
                    PrtgDocument(FillingText("PR&#196;", "5000", "37", "63"), ExampleChannels())},
        ReadingCase{
            "DestinationEscapedInText",
            Replaced("Destination:", ProfileLine("Destination:", "R&D<1>")),
            PrtgDocument(FillingText("R&amp;D&lt;1&gt;", "5000", "37", "63"), ExampleChannels())}),
    NameOfCase);

}  // namespace
}  // namespace e2e
