#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "driver/run_end.h"
#include "platform/line_reader.h"
#include "tests/support/scratch_dir.h"
#include "tools/profile_tool/profile_check.h"
#include "tools/profile_tool/tool.h"

namespace {

using Args = std::vector<std::string>;
const std::string kPassword = "Secret99";

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome RunTool(Args args, const std::string& input = "", bool terminal = false) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  profile_tool::ToolConsole console{in, out, err, terminal};
  args.insert(args.begin(), "brackwater-profile");
  const int code = profile_tool::RunProfileTool(args, console);
  return {code, out.str(), err.str()};
}

// The arguments of a valid new command; `changes` (option, value, ...)
// replace or add options.
Args NewArgs(const Args& changes = {}) {
  Args args = {"new",     "--extcompany", "ACME",     "--destination", "PRD", "--client",
               "000",     "--user",       "monitor",  "--language",    "EN",  "--mode",
               "R/3",     "--hostname",   "sapprd01", "--sysnr",       "00",  "--gwhost",
               "sapgw01", "--gwservice",  "sapgw00"};
  for (std::size_t i = 0; i + 1 < changes.size(); i += 2) {
    auto at = std::find(args.begin(), args.end(), changes[i]);
    if (at == args.end()) {
      args.insert(args.end(), {changes[i], changes[i + 1]});
    } else {
      *(at + 1) = changes[i + 1];
    }
  }
  return args;
}

// `value` with the next check digit in place of its own.
std::string WithWrongCheckDigit(std::string value) {
  const char check = config::XorWithKey(value[0], 0);
  value[0] = config::XorWithKey(static_cast<char>('0' + (check - '0' + 1) % 10), 0);
  return value;
}

void ExpectSecretKept(const Outcome& outcome, const std::string& what) {
  EXPECT_EQ(outcome.out.find(kPassword), std::string::npos) << what;
  EXPECT_EQ(outcome.err.find(kPassword), std::string::npos) << what;
}

TEST(ProfileTool, NewWritesAProfileTheSensorAccepts) {
  const Outcome outcome = RunTool(NewArgs(), kPassword + "\r\n");
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  ExpectSecretKept(outcome, "new");

  const std::vector<std::string> lines =
      platform::SplitLines(outcome.out, config::kSingleSystemLineLimit);
  std::size_t labelled = 0;
  for (const std::string& line : lines) {
    if (line.rfind("*", 0) == 0) {
      EXPECT_FALSE(config::ParseProfileLine(line)) << line;
    } else {
      ASSERT_TRUE(config::ParseProfileLine(line)) << line;
      EXPECT_EQ(line[config::kLabelLength], ' ') << line;
      ++labelled;
    }
  }
  EXPECT_EQ(labelled, config::kProfileFields.size());

  const config::ProfileReading reading = config::ReadProfile(lines);
  EXPECT_TRUE(reading.defects.empty());
  const ConnectionProfile& profile = reading.profile;
  EXPECT_EQ(profile.Password, kPassword);
  EXPECT_EQ(profile.User, "MONITOR");
  EXPECT_EQ(profile.Gwhost, "sapgw01");
  EXPECT_EQ(profile.Gwservice, "sapgw00");
}

TEST(ProfileTool, NewWritesAFileOnlyReplacedOnRequest) {
  ScratchDir dir;
  const std::string path = dir.path() + "/PRD.P00";
  EXPECT_EQ(RunTool(NewArgs({"--output", path}), kPassword).code, 0);
  const Outcome again = RunTool(NewArgs({"--output", path}), kPassword);
  EXPECT_EQ(again.code, 2);
  EXPECT_NE(again.err.find("exists"), std::string::npos);
  Args replace = NewArgs({"--output", path, "--offset", "2"});
  replace.push_back("--force");
  EXPECT_EQ(RunTool(replace, kPassword).code, 0);
  const Outcome check = RunTool({"check", path});
  EXPECT_EQ(check.code, 0) << check.out;
  EXPECT_EQ(check.out, "PRD.P00: accepted\n");
}

TEST(ProfileTool, PasswordAndHostOnTheCommandLine) {
  Args args = NewArgs({"--password", kPassword});
  std::replace(args.begin(), args.end(), std::string("--hostname"), std::string("--host"));
  const Outcome outcome = RunTool(args, "");  // nothing on standard input
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const ConnectionProfile profile =
      config::ReadProfile(platform::SplitLines(outcome.out, config::kSingleSystemLineLimit))
          .profile;
  EXPECT_EQ(profile.Password, kPassword);
  EXPECT_EQ(profile.Hostname, "sapprd01");
  const Outcome refused = RunTool(NewArgs({"--password", std::string(21, 'x')}), "");
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find("longer than 20"), std::string::npos) << refused.err;
}

TEST(ProfileTool, RefusesWhatTheSensorWouldNotTake) {
  std::string spoiled;  // a password that no value at offset 0 holds printably
  for (char c = 0x21; spoiled.empty(); ++c) {
    const std::string candidate = std::string(1, c) + "x";
    const std::vector<int> fitting = config::PrintableOffsets(candidate);
    if (fitting.empty() || fitting.front() != 0) spoiled = candidate;
  }
  struct Case {
    Args args;
    std::string input;
    std::string says;
  };
  const std::vector<Case> cases = {
      {{"scramble"}, std::string(21, 'p'), "longer than 20"},
      {{"scramble"}, "Secr\tet99", "printable ASCII"},
      {{"scramble"}, "p\xC3\xA4sswort", "printable ASCII"},
      {{"scramble"}, "Secret 99", "printable ASCII"},
      {{"scramble"}, "x", "at least 2"},
      {{"scramble"}, "", "no password"},
      {{"scramble", "--offset", "10"}, kPassword, "--offset"},
      {{"scramble", "--offset", "0"}, spoiled, "at offset 0"},
      {NewArgs({"--destination", "PRD45678901x"}), kPassword, "--destination holds at most 11"},
      {NewArgs({"--client", "00"}), kPassword, "--client needs at least 3"},
      {NewArgs({"--user", "mon\x01itor"}), kPassword, "--user may hold printable ASCII"},
      {NewArgs({"--extcompany", std::string(61, 'e')}), kPassword, "holds at most 60"},
      {{"new", "--client", "000"}, kPassword, "required"},
      {{}, "", "subcommand"},
      {{"frobnicate"}, "", "subcommand"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunTool(c.args, c.input);
    EXPECT_EQ(outcome.code, 2) << c.says;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << c.says << ": " << outcome.err;
    ExpectSecretKept(outcome, c.says);
  }
}

TEST(ProfileTool, ScrambleAndUnscramble) {
  const Outcome scrambled = RunTool({"scramble"}, kPassword + "\n");
  ASSERT_EQ(scrambled.code, 0) << scrambled.err;
  const std::string value = scrambled.out.substr(0, scrambled.out.size() - 1);
  ASSERT_EQ(scrambled.out, value + "\n");
  EXPECT_EQ(config::UnscramblePassword(value).password, kPassword);
  // Asked for it, the tool shows the password: the one place it does.
  const Outcome plain = RunTool({"unscramble", value}, "");
  EXPECT_EQ(plain.code, 0);
  EXPECT_EQ(plain.out, kPassword + "\n");

  struct Case {
    Args args;
    std::string input;
    int code;
    std::string says;
  };
  const std::vector<Case> cases = {
      {{"unscramble", value, "--verify"}, kPassword, 0, "the value holds this password\n"},
      {{"unscramble", value, "--verify"}, "Secret98", 2, "the value holds another password\n"},
      {{"unscramble", value.substr(1)}, "", 2, "Error 1004: the password value has 23"},
      // A value may begin with "-": it is still the value, not an option.
      {{"unscramble", "-x" + value.substr(3)}, "", 2, "Error 1004: the password value has 23"},
      {{"unscramble", value + "x"}, "", 2, "Error 1004: the password value has 25"},
      {{"unscramble", WithWrongCheckDigit(value)}, "", 2, "Error 1005"},
      {{"unscramble", ""}, "", 2, "Error 1007"},
      {{"unscramble", std::get<std::string>(config::ScramblePassword("x", 1, 1))},
       "",
       2,
       "Error 1003"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunTool(c.args, c.input);
    EXPECT_EQ(outcome.code, c.code) << c.says;
    EXPECT_NE(outcome.out.find(c.says), std::string::npos) << c.says << ": " << outcome.out;
    ExpectSecretKept(outcome, c.says);
  }
}

TEST(ProfileTool, CheckListsEveryDefectAndAgreesWithTheSensor) {
  const std::string good = RunTool(NewArgs(), kPassword).out;
  auto replaced = [&good](const std::string& label, const std::string& line) {
    const std::size_t at = good.find(label);
    return good.substr(0, at) + line + good.substr(good.find('\n', at));
  };
  const std::string value = good.substr(good.find("Password...: ") + 13, 24);
  struct Case {
    const char* what;
    std::string text;
    std::vector<int> codes;
  };
  const std::vector<Case> cases = {
      {"accepted", good, {}},
      {"empty file", "", {1006, 1007, 1003, 1003, 1003, 1003, 1003, 1003, 1003, 1003, 1003}},
      {"no User, long Destination, short Client",
       replaced("Client", "Client.....: 00") + "Destination: PRD45678901x\nUser.......:\n",
       {1006, 1003, 1003}},
      {"malformed password, later a good one",
       good + "Password...: short\nPassword...: " + value + "\n",
       {1004}},
      {"wrong check digit, later a malformed one",
       replaced("Password", "Password...: " + WithWrongCheckDigit(value) + "\nPassword...: x"),
       {1005, 1004}},
      {"empty password", replaced("Password", "Password...:"), {1007}},
  };
  for (const Case& c : cases) {
    const profile_tool::ProfileReport report = profile_tool::CheckProfileText(c.text, "PRD.P00");
    std::vector<int> codes;
    for (const profile_tool::ProfileDefect& defect : report.defects) codes.push_back(defect.code);
    EXPECT_EQ(codes, c.codes) << c.what;
    ASSERT_EQ(report.sensor_message.has_value(), !codes.empty()) << c.what;
    if (report.sensor_message) {
      EXPECT_EQ(report.sensor_message->substr(0, 10),
                std::string("Error ") + std::to_string(codes[0]))
          << c.what;
    }
  }
  const profile_tool::ProfileReport noted = profile_tool::CheckProfileText(
      replaced("Extcompany", "Extcompany.: " + std::string(61, 'e')) + std::string(160, '*'),
      "PRD.P00");
  EXPECT_TRUE(noted.defects.empty());
  EXPECT_EQ(noted.notes.size(), 2u);
}

TEST(ProfileTool, PasswordAtATerminalIsAskedTwice) {
  const Outcome differ = RunTool({"scramble"}, kPassword + "\nSecret98\n", true);
  EXPECT_EQ(differ.code, 2);
  EXPECT_NE(differ.err.find("differ"), std::string::npos);
  EXPECT_EQ(RunTool({"scramble"}, kPassword + "\n" + kPassword + "\n", true).code, 0);
}

}  // namespace
