#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

Args WithoutUser(Args args) {
  const auto user = std::find(args.begin(), args.end(), "--user");
  args.erase(user, user + 2);
  return args;
}

Args WithPrtgCredentials(Args args) {
  args.push_back("--prtg-credentials");
  return args;
}

// The arguments of a valid new command for PRTG's credentials; `changes`
// as for NewArgs.
Args PrtgArgs(const Args& changes = {}) {
  return WithPrtgCredentials(WithoutUser(NewArgs(changes)));
}

// `value` with the next check digit in place of its own.
std::string WithWrongCheckDigit(std::string value) {
  const char check = config::XorWithKey(value[0], 0);
  value[0] = config::XorWithKey(static_cast<char>('0' + (check - '0' + 1) % 10), 0);
  return value;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A sensor of the global listing: its key, its item text (the sensor mark
// is added) and its systems, each listed with its "#".
struct ListedSensor {
  std::string key;
  std::string item;
  std::string systems;
};

// Group lines carry the systems from column 21, item lines the item text
// from column 20; the key stands in columns 9-18.
std::string ListingText(const std::vector<ListedSensor>& sensors) {
  std::string text;
  for (const ListedSensor& sensor : sensors) {
    std::string key = sensor.key;
    key.resize(std::max<std::size_t>(key.size(), 10), ' ');
    text += "# GSNG: " + key + "  " + sensor.systems + "\r\n";
    text += "# GSNX: " + key + " " + sensor.item + ",Sensor=\"SAP Brackwater\"\r\n";
  }
  return text;
}

void ExpectSecretKept(const Outcome& outcome, const std::string& what) {
  EXPECT_EQ(outcome.out.find(kPassword), std::string::npos) << what;
  EXPECT_EQ(outcome.err.find(kPassword), std::string::npos) << what;
}

TEST(ProfileTool, NewWritesAProfileTheSensorAccepts) {
  const Outcome outcome = RunTool(NewArgs(), kPassword + "\r\n");
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  ExpectSecretKept(outcome, "new");
  // Standard output holds the profile alone.
  EXPECT_EQ(outcome.err,
            "brackwater-profile: written to standard output - logs on as MONITOR with the "
            "password stored scrambled\n");

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
  const config::ConnectionProfile& profile = reading.profile;
  EXPECT_EQ(profile.Password, kPassword);
  EXPECT_EQ(profile.User, "MONITOR");
  EXPECT_EQ(profile.Gwhost, "sapgw01");
  EXPECT_EQ(profile.Gwservice, "sapgw00");
}

// A profile for a sensor that logs on with PRTG's credentials: no user and
// no password asked for or written, accepted by the check, which says what
// the sensor needs.
TEST(ProfileTool, PrtgCredentialsNeitherUserNorPassword) {
  ScratchDir dir;
  const std::string path = dir.path() + "/PRD.P00";
  const Outcome written = RunTool(PrtgArgs({"--output", path}));  // nothing on standard input
  ASSERT_EQ(written.code, 0) << written.err;
  EXPECT_EQ(written.out, path +
                             ": written - logs on with PRTG's credentials: the sensor needs "
                             "CRED=WINDOWS or CRED=LINUX\n");
  std::ifstream file(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text.find("User"), std::string::npos);
  EXPECT_EQ(text.find("Password"), std::string::npos);
  EXPECT_EQ(RunTool({"check", "--prtg-credentials", path}).out, "PRD.P00: accepted\n");
  const Outcome checked = RunTool({"check", path});
  EXPECT_EQ(checked.code, 0);
  EXPECT_EQ(checked.out,
            "PRD.P00: accepted - no user and password: the sensor needs CRED=WINDOWS or "
            "CRED=LINUX\n");
  // With another defect it is no profile the sensor reads, with CRED= or
  // without: the check reports as for any profile.
  WriteText(path, text + "Client.....: 00\n");
  const Outcome spoiled = RunTool({"check", path});
  EXPECT_EQ(spoiled.code, 2);
  EXPECT_NE(spoiled.out.find("the sensor stops with: Error 1006"), std::string::npos)
      << spoiled.out;
}

TEST(ProfileTool, NewWritesAFileOnlyReplacedOnRequest) {
  ScratchDir dir;
  const std::string path = dir.path() + "/PRD.P00";
  const Outcome first = RunTool(NewArgs({"--output", path}), kPassword);
  EXPECT_EQ(first.code, 0);
  EXPECT_EQ(first.out,
            path + ": written - logs on as MONITOR with the password stored scrambled\n");
  EXPECT_EQ(first.err, "");
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
  const config::ConnectionProfile profile =
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
      // The user alone missing; PRTG's credentials with what it leaves out.
      {WithoutUser(NewArgs()), kPassword, "--user is required"},
      {WithPrtgCredentials(NewArgs()), "", "excludes"},
      {PrtgArgs({"--password", kPassword}), "", "excludes"},
      {PrtgArgs({"--offset", "2"}), "", "excludes"},
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
  // Listed in a global listing, the profile fails its system with the
  // first defect, as the listing run reads it.
  ScratchDir dir;
  WriteText(dir.path() + "/SAP Tessaron.Gbl", ListingText({{"S", "Item=Used:Area", "PRD.P00#"}}));
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

    WriteText(dir.path() + "/PRD.P00", c.text);
    const Outcome listed = RunTool({"check", dir.path() + "/SAP Tessaron.Gbl"});
    const std::vector<config::ProfileDefect> sensor_finds =
        config::ReadProfile(
            *platform::ReadLines(dir.path() + "/PRD.P00", config::kListingLineLimit))
            .defects;
    const std::size_t defective = listed.out.find("\"PRD.P00\" defective: ");
    EXPECT_EQ(listed.code, codes.empty() ? 0 : 2) << c.what;
    if (codes.empty()) {
      EXPECT_TRUE(sensor_finds.empty()) << c.what;
      EXPECT_EQ(defective, std::string::npos) << c.what << ": " << listed.out;
      continue;
    }
    ASSERT_FALSE(sensor_finds.empty()) << c.what;
    ASSERT_NE(defective, std::string::npos) << c.what << ": " << listed.out;
    const std::size_t first = listed.out.find("Error ", defective);
    EXPECT_EQ(listed.out.substr(first, 10), "Error " + std::to_string(sensor_finds[0].code))
        << c.what << ": " << listed.out;
  }
  const profile_tool::ProfileReport noted = profile_tool::CheckProfileText(
      replaced("Extcompany", "Extcompany.: " + std::string(61, 'e')) + std::string(160, '*'),
      "PRD.P00");
  EXPECT_TRUE(noted.defects.empty());
  EXPECT_EQ(noted.notes.size(), 2u);
}

// `count` systems named PRD.P00 for the sensor `key`, ten to a group line.
std::vector<ListedSensor> ManySystems(const std::string& key, std::size_t count) {
  std::vector<ListedSensor> sensors;
  for (std::size_t listed = 0; listed < count; listed += 10) {
    std::string systems;
    for (std::size_t i = listed; i < std::min(count, listed + 10); ++i) systems += "PRD.P00#";
    sensors.push_back({key, "Item=Used:Area", systems});
  }
  return sensors;
}

TEST(ProfileTool, CheckListing) {
  ScratchDir dir;
  WriteText(dir.path() + "/PRD.P00", RunTool(NewArgs(), kPassword).out);
  WriteText(dir.path() + "/BAD.P00", "");
  // Its User line is the rest of a longer line: there at the single-system
  // run's line limit, gone at the listing run's.
  const std::string good = RunTool(NewArgs(), kPassword).out;
  const std::size_t user = good.find("User");
  WriteText(dir.path() + "/LONG.P00",
            good.substr(0, user) + std::string(159, '*') + good.substr(user));
  std::vector<ListedSensor> sizes = ManySystems("FIFTY", 50);
  for (const ListedSensor& sensor : ManySystems("FIFTYONE", 51)) sizes.push_back(sensor);
  std::string item_listing = "# Gsng item listing\n";
  for (int i = 0; i < 6; ++i) {
    item_listing += "systems............ " + ManySystems("", 9)[0].systems + "\n";
  }
  const std::string bad = "\"BAD.P00\" defective: Error 1006: there is no User (and 10 more)\n";
  const std::string kUnknownItem =
      " is none of the sensor's items, so every system reports \"Not Found\"; the items: Total "
      "Size, Used Area, Used Area [Prc], Perm Used Area, Perm Used Area [Prc], Temp Used Area, "
      "Temp Used Area [Prc], Free Area, Free Area [Prc], Days Until Full\n";
  struct Case {
    const char* what;
    std::string file;
    std::string text;
    int code;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"accepted; a name over ten characters runs into columns 19 and 20, an item may begin later",
       "SAP Tessaron.Gbl",
       ListingText(
           {{"PRD01", "Item=Used:Area", "PRD.P00#"}, {"QAS", "Item=Free:Area:[Prc]", "PRD.P00#"}}) +
           "# GSNG: PRODUCTION1 PRD.P00#\n"
           "# GSNX: PRODUCTION1  Item=Days:Until:Full,Sensor=\"SAP Brackwater\"\n",
       0,
       "key \"PRD01\": item \"Used Area\", 1 system\n"
       "key \"QAS\": item \"Free Area [Prc]\", 1 system\n"
       "key \"PRODUCTION\": item \"Days Until Full\", 1 system\n"
       "SAP Tessaron.Gbl: accepted\n"},
      {"missing and defective profiles, each once per key; keys in any case are one",
       "SAP Tessaron.Gbl",
       ListingText({{"PRD01", "Item=Used:Area", "OLD.P00#BAD.P00##"},
                    {"QAS", "Item=Free:Area", "BAD.P00#"},
                    {"prd01", "Item=Used:Area", "BAD.P00#PRD.P00"}}),
       2,
       "key \"PRD01\": item \"Used Area\", 5 systems\n"
       "key \"PRD01\": \"OLD.P00\" missing\n"
       "key \"PRD01\": " +
           bad +
           "key \"PRD01\": \"\" missing\n"
           "key \"QAS\": item \"Free Area\", 1 system\n"
           "key \"QAS\": " +
           bad + "SAP Tessaron.Gbl: 4 findings\n"},
      {"an item the sensor has no value for, spelt wrong or in other letter case",
       "SAP Tessaron.Gbl",
       ListingText(
           {{"PRD01", "Item=Used:Aera", "PRD.P00#"}, {"QAS", "Item=used:area", "PRD.P00#"}}),
       2,
       "key \"PRD01\": item \"Used Aera\", 1 system\n"
       "key \"PRD01\": item \"Used Aera\"" +
           kUnknownItem +
           "key \"QAS\": item \"used area\", 1 system\n"
           "key \"QAS\": item \"used area\"" +
           kUnknownItem + "SAP Tessaron.Gbl: 2 findings\n"},
      {"sensor names padded to ten: systems and item text in column 19", "SAP Tessaron.Gbl",
       "# GSNG: DEMO      PRD.P00#\n"
       "# GSNX: DEMO      Item=Used:Area,Sensor=\"SAP Brackwater\"\n",
       2,
       "key \"DEMO\": Error 1026: Global Item Idenification missing...\n"
       "key \"DEMO\": line 1: the systems start in column 19; the sensor reads them from column "
       "21\n"
       "key \"DEMO\": line 2: the item text starts in column 19; the sensor reads it from column "
       "20\n"
       "SAP Tessaron.Gbl: 3 findings\n"},
      {"systems one column early and one late", "SAP Tessaron.Gbl",
       "# GSNG: PRD01      PRD.P00#\n"
       "# GSNX: PRD01      Item=Used:Area,Sensor=\"SAP Brackwater\"\n"
       "* a comment\n"
       "# gsng: prd01        PRD.P00#\n",
       2,
       "key \"PRD01\": item \"Used Area\", 2 systems\n"
       "key \"PRD01\": line 1: the systems start in column 20; the sensor reads them from column "
       "21\n"
       "key \"PRD01\": line 4: the systems start in column 22; the sensor reads them from column "
       "21\n"
       "key \"PRD01\": \"RD.P00\" missing\n"
       "key \"PRD01\": \" PRD.P00\" missing\n"
       "SAP Tessaron.Gbl: 4 findings\n"},
      {"50 systems fit a sensor, 51 do not", "SAP Tessaron.Gbl", ListingText(sizes), 2,
       "key \"FIFTY\": item \"Used Area\", 50 systems\n"
       "key \"FIFTYONE\": item \"Used Area\", 51 systems\n"
       "key \"FIFTYONE\": 51 systems, more than the 50 channels PRTG shows for one sensor; "
       "split the key in two\n"
       "SAP Tessaron.Gbl: 1 finding\n"},
      {"the sensor's errors, per key", "SAP Tessaron.Gbl",
       "# GSNX: OTHER      Item=Used:Area,Sensor=\"SAP Other\"\n"
       "# GSNG: LONELY      PRD.P00#\n"
       "# GSNX: NOSYS      Item=Used:Area,Sensor=\"SAP Brackwater\"\n" +
           ListingText(
               {{"NOITEM", "Other=1", "PRD.P00#"}, {"AB CD", "Item=Used:Area", "PRD.P00#"}}),
       2,
       "key \"OTHER\": Error 1029: Invalid Sensor-Allocation...\n"
       "key \"LONELY\": Error 1030: Global Sensor LONELY not found...\n"
       "key \"NOSYS\": Error 1025: Global Server Listing missing...\n"
       "key \"NOITEM\": Error 1026: Global Item Idenification missing...\n"
       "key \"AB CD\": item \"Used Area\", 1 system\n"
       "key \"AB CD\": no sensor is named so: a blank ends the key a sensor is named with\n"
       "SAP Tessaron.Gbl: 5 findings\n"},
      {"a line cut at the listing's limit", "SAP Tessaron.Gbl",
       ListingText({{"CUT", "Item=Used:Area",
                     ManySystems("", 25)[0].systems + ManySystems("", 25)[1].systems +
                         ManySystems("", 25)[2].systems}}),
       2,
       "note: line 1: longer than 199 characters; the sensor reads the rest as a further line\n"
       "key \"CUT\": item \"Used Area\", 23 systems\n"
       "key \"CUT\": \"PRD\" missing\n"
       "SAP Tessaron.Gbl: 1 finding\n"},
      {"profiles read at the listing run's line limit", "SAP Tessaron.Gbl",
       ListingText({{"S", "Item=Used:Area", "LONG.P00#"}}), 2,
       "key \"S\": item \"Used Area\", 1 system\n"
       "key \"S\": \"LONG.P00\" defective: Error 1006: there is no User\n"
       "SAP Tessaron.Gbl: 1 finding\n"},
      {"no sensor at all", "sap tessaron.gbl", "", 2,
       "listing: no group or item line; every sensor stops with Error 1030\n"
       "sap tessaron.gbl: 1 finding\n"},
      {"item listing, named in any case", "tessaron.PRF",
       "# Gsng item listing\nsystems............ PRD.P00#OLD.P00#\n", 2,
       "list: item from ITEM=, 2 systems\n"
       "list: \"OLD.P00\" missing\n"
       "tessaron.PRF: 1 finding\n"},
      {"item listing over 50 systems", "Tessaron.Prf", item_listing, 2,
       "list: item from ITEM=, 54 systems\n"
       "list: 54 systems, more than the 50 channels PRTG shows for one sensor\n"
       "Tessaron.Prf: 1 finding\n"},
      {"item listing without systems", "Tessaron.Prf", "# Gsng item listing\n", 2,
       "list: Error 1025: Global Server Listing missing...\n"
       "Tessaron.Prf: 1 finding\n"},
  };
  for (const Case& c : cases) {
    WriteText(dir.path() + "/" + c.file, c.text);
    const Outcome outcome = RunTool({"check", dir.path() + "/" + c.file});
    EXPECT_EQ(outcome.code, c.code) << c.what;
    EXPECT_EQ(outcome.out, c.out) << c.what;
    std::filesystem::remove(dir.path() + "/" + c.file);
  }
  EXPECT_EQ(RunTool({"check", dir.path() + "/LONG.P00"}).code, 0);
  const Outcome unread = RunTool({"check", dir.path() + "/none/SAP Tessaron.Gbl"});
  EXPECT_EQ(unread.code, 2);
  EXPECT_NE(unread.err.find("cannot read"), std::string::npos) << unread.err;
}

TEST(ProfileTool, PasswordAtATerminalIsAskedTwice) {
  const Outcome differ = RunTool({"scramble"}, kPassword + "\nSecret98\n", true);
  EXPECT_EQ(differ.code, 2);
  EXPECT_NE(differ.err.find("differ"), std::string::npos);
  EXPECT_EQ(RunTool({"scramble"}, kPassword + "\n" + kPassword + "\n", true).code, 0);
}

}  // namespace
