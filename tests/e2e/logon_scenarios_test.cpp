// Logging on: by application server, by gateway, through a destination file
// and "SapRfc.ini", with the address overridden in the options; what the
// library is handed, and how a refused logon is reported.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "tests/e2e/alarm_fixtures.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kLogonFailed = PrtgErrorDocument("Error 1011: RFC-Open for PRD failed !");
const std::string kDestinationFile = "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00\r\n";

std::string Profile(ProfileSettings settings) { return ProfileText(settings); }

// PRD reachable through its gateway r2gate, service sapgw42, only.
json GatewaySystem() {
  json system = PrdSystem();
  system.erase("ashost");
  system["gwhost"] = "r2gate";
  system["gwserv"] = "sapgw42";
  return system;
}

ProfileSettings GatewayProfile(std::string mode) {
  return {
      .mode = std::move(mode), .hostname = "nowhere", .gwhost = "r2gate", .gwservice = "sapgw42"};
}

json WithAccount(json system, std::string_view user, std::string_view password) {
  system["accounts"] = json::array({{{"client", "100"}, {"user", user}, {"password", password}}});
  return system;
}

struct LogonCase {
  std::string name;
  SingleRun run;
  // The whole standard output, times masked.
  std::string out;
  int exit_code = 0;
  // Files the run leaves changed besides rfcsim's record.
  std::vector<std::string> changed = {};
  // A line the trace file holds after the run; empty: there is none.
  std::string trace_line = {};
  // "SapRfc.ini" after the run, if there is one.
  std::optional<std::string> saprfc_ini = std::nullopt;
  std::string err = {};
  // How often the library was asked to log on.
  std::size_t logons = 1;
  // Through SAP's NetWeaver library, where it differs by nature. Why the
  // case does not apply there (skipped):
  std::string classic_only = {};
  // The trace line of the adapter's refusal of a logon that library has no
  // counterpart for: the run ends as a refused logon (Error 1011, the trace
  // kept) and the library is never asked.
  std::string refused_through_netweaver = {};
  // How often that library is asked to log on, where the adapter refuses a
  // destination file's logon without asking it.
  std::optional<std::size_t> logons_through_netweaver = std::nullopt;
  // A logon the classic library refuses and the NetWeaver library takes: the
  // run through it succeeds, the library asked once.
  bool logs_on_through_netweaver = false;
};

const std::string kR2Refused =
    TraceErrorLine("mode 1 (R/2, gateway only) has no counterpart in the NetWeaver RFC library");

void PrintTo(const LogonCase& c, std::ostream* out) { *out << c.name; }

class Logon : public ::testing::TestWithParam<LogonCase> {};

TEST_P(Logon, EndsAsExpected) {
  LogonCase c = GetParam();
  if (ThroughNetWeaver()) {
    if (!c.classic_only.empty()) GTEST_SKIP() << c.classic_only;
    if (!c.refused_through_netweaver.empty()) {
      c.out = kLogonFailed;
      c.exit_code = 2;
      c.changed = {"Dev_Rfc.Trc"};
      c.trace_line = c.refused_through_netweaver;
      c.logons = 0;
    }
    c.logons = c.logons_through_netweaver.value_or(c.logons);
    if (c.logs_on_through_netweaver) {
      c.out = ExamplePrtgDocument();
      c.exit_code = 0;
      c.logons = 1;
    }
  }
  SingleRunResult result = RunSingle(c.run);
  const Outcome& outcome = result.outcome;
  EXPECT_EQ(MaskTimes(outcome.out), c.out);
  EXPECT_EQ(outcome.exit_code, c.exit_code);
  EXPECT_EQ(outcome.err, c.err);
  EXPECT_EQ(result.changed_files, c.changed);
  if (c.trace_line.empty()) {
    EXPECT_FALSE(outcome.Exists("Dev_Rfc.Trc"));
  } else {
    EXPECT_THAT(TraceAfter(outcome).value_or(""), HasSubstr(c.trace_line));
  }
  EXPECT_EQ(outcome.ReadFile("SapRfc.ini"), c.saprfc_ini);
  // A logon that failed is never closed.
  if (c.exit_code == 2) {
    EXPECT_EQ(CountOf(result.record, "RfcClose"), 0u);
  }
  EXPECT_EQ(CountOf(result.record, "RfcOpen") + CountOf(result.record, "RfcOpenEx"), c.logons);
}

// The logon's user and password from the credentials PRTG keeps for the
// device ("CRED="), handed over as environment values: the profile needs
// neither, and where it has them, the environment wins.
std::string WithoutCredentials(ProfileSettings settings) {
  std::string profile = ProfileText(settings);
  for (std::string_view label : {"User.......:", "Password...:"}) {
    const std::size_t at = profile.find(label);
    profile.erase(at, profile.find('\n', at) + 1 - at);
  }
  return profile;
}

const std::map<std::string, std::string> kWindowsCredentials = {
    {"prtg_windowsuser", "monitor"}, {"prtg_windowspassword", std::string(kPassword)}};
const std::map<std::string, std::string> kLinuxCredentials = {
    {"prtg_linuxuser", "MONITOR"}, {"prtg_linuxpassword", std::string(kPassword)}};
// A password with blanks and an equals sign, its pieces long enough to be
// looked for in everything the run writes (upper case, as a key the
// connection text names, too).
const std::string kSpacedPassword = "Yx8 MOUND=q7 fern";
std::map<std::string, std::string> LinuxCredentials(const std::string& password) {
  return {{"prtg_linuxuser", "monitor"}, {"prtg_linuxpassword", password}};
}
const std::string kPasswordHoldsBlank =
    " holds a blank or tab, which librfc32 would split in the connection text of a logon "
    "through SapRfc.ini - log on without the destination file, through sapnwrfc.dll, or with a "
    "password without blanks";
const std::string kCredentialsMissing =
    " not set - set the sensor's Environment to 'Set placeholders as environment values' and "
    "enter the SAP user as the device's ";

INSTANTIATE_TEST_SUITE_P(
    Credentials, Logon,
    ::testing::Values(
        LogonCase{"FromTheMonitorByHost",
                  {.arguments = {"PRD", "CRED=WINDOWS"},
                   .profile = WithoutCredentials({}),
                   .environment = kWindowsCredentials},
                  ExamplePrtgDocument()},
        LogonCase{"TheMonitorsWinOverTheProfiles",
                  {.arguments = {"PRD", "", "cred=Linux"},
                   .profile = Profile({.user = "someone", .password = "Other77"}),
                   .environment = kLinuxCredentials},
                  ExamplePrtgDocument()},
        // Each keyword a word of its own, as a monitor splits its
        // parameter field: the fourth is read as the second is.
        LogonCase{"FromTheMonitorAsAFourthWord",
                  {.arguments = {"PRD", "LIMITS=80/90", "TIMEOUT=50", "CRED=WINDOWS"},
                   .profile = WithoutCredentials({}),
                   .environment = kWindowsCredentials},
                  PrtgDocument(FillingText("PRD", "5000", "37", "63"), ExampleChannels(),
                               {.used_area_limits = UsedAreaLimitElements(80, 90)})},
        LogonCase{"FromTheMonitorThroughDestinationFile",
                  {.arguments = {"PRD", "CRED=WINDOWS"},
                   .profile = WithoutCredentials({}),
                   .files = {{"SapRfc.PRD", kDestinationFile}},
                   .environment = kWindowsCredentials},
                  ExamplePrtgDocument(),
                  0,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile},
        // Blanks and equals signs: the whole password reaches the library
        // by address, and through a destination file the NetWeaver library
        // as one logon parameter; the classic library's connection text
        // would split it, and so it is refused before any logon.
        LogonCase{"PasswordWithBlanksByHost",
                  {.arguments = {"PRD", "CRED=LINUX"},
                   .profile = WithoutCredentials({}),
                   .system = WithAccount(PrdSystem(), "MONITOR", kSpacedPassword),
                   .environment = LinuxCredentials(kSpacedPassword),
                   .password = kSpacedPassword},
                  ExamplePrtgDocument()},
        LogonCase{"PasswordWithBlanksThroughDestinationFile",
                  {.arguments = {"PRD", "CRED=LINUX"},
                   .profile = WithoutCredentials({}),
                   .system = WithAccount(PrdSystem(), "MONITOR", kSpacedPassword),
                   .files = {{"SapRfc.PRD", kDestinationFile}},
                   .environment = LinuxCredentials(kSpacedPassword),
                   .password = kSpacedPassword},
                  PrtgErrorDocument("Error 1034: prtg_linuxpassword" + kPasswordHoldsBlank),
                  2,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile,
                  {},
                  0,
                  {},
                  {},
                  std::nullopt,
                  true},
        LogonCase{"PasswordWithEqualsSignsThroughDestinationFile",
                  {.arguments = {"PRD", "CRED=LINUX"},
                   .profile = WithoutCredentials({}),
                   .system = WithAccount(PrdSystem(), "MONITOR", "=Yx8=MOUND="),
                   .files = {{"SapRfc.PRD", kDestinationFile}},
                   .environment = LinuxCredentials("=Yx8=MOUND="),
                   .password = "=Yx8=MOUND="},
                  ExamplePrtgDocument(),
                  0,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile},
        LogonCase{"KindUnknown",
                  {.arguments = {"PRD", "CRED=MAC"}, .environment = kWindowsCredentials},
                  PrtgErrorDocument("Error 1033: Invalid option CRED= - needs WINDOWS or LINUX"),
                  2,
                  {},
                  {},
                  std::nullopt,
                  {},
                  0},
        LogonCase{"VariableMissing",
                  {.arguments = {"PRD", "CRED=WINDOWS"},
                   .environment = {{"prtg_windowsuser", "monitor"}}},
                  PrtgErrorDocument("Error 1034: prtg_windowspassword" + kCredentialsMissing +
                                    "Windows credentials"),
                  2,
                  {},
                  {},
                  std::nullopt,
                  {},
                  0},
        LogonCase{"VariableEmpty",
                  {.arguments = {"PRD", "CRED=LINUX"},
                   .environment = {{"prtg_linuxuser", ""}, {"prtg_linuxpassword", "x"}}},
                  PrtgErrorDocument("Error 1034: prtg_linuxuser" + kCredentialsMissing +
                                    "Linux credentials"),
                  2,
                  {},
                  {},
                  std::nullopt,
                  {},
                  0}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Address, Logon,
    ::testing::Values(
        LogonCase{"ByHost", {}, ExamplePrtgDocument()},
        // A successful run removes an earlier run's trace.
        LogonCase{"ByHostRemovesEarlierTrace",
                  {.files = {{"Dev_Rfc.Trc", "**** ERROR file opened\nERROR       earlier\n"}}},
                  ExamplePrtgDocument(),
                  0,
                  {"Dev_Rfc.Trc"}},
        // A trace that cannot be removed does not fail the run.
        LogonCase{"TraceIsADirectory", {.directories = {"Dev_Rfc.Trc"}}, ExamplePrtgDocument()},
        LogonCase{"ByGateway",
                  {.profile = Profile(GatewayProfile("R/2")), .system = GatewaySystem()},
                  ExamplePrtgDocument(),
                  0,
                  {},
                  {},
                  std::nullopt,
                  {},
                  1,
                  {},
                  kR2Refused},
        // Only "R/2" exactly selects the gateway; otherwise the host counts.
        LogonCase{"GatewayModeInLowerCase",
                  {.profile = Profile(GatewayProfile("r/2")), .system = GatewaySystem()},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("partner 'nowhere:sapgw00' not reached")},
        LogonCase{"GatewayModeWithTrailingBlank",
                  {.profile = Profile(GatewayProfile("R/2 ")), .system = GatewaySystem()},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("partner 'nowhere:sapgw00' not reached")},
        LogonCase{"UnknownHost",
                  {.profile = Profile({.hostname = "nowhere"})},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("partner 'nowhere:sapgw00' not reached")},
        LogonCase{"OtherSystemNumber",
                  {.profile = Profile({.sysnr = "01"})},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("partner 'sapprd01:sapgw01' not reached")},
        // Blanks read as system number 0.
        LogonCase{
            "BlankSystemNumber", {.profile = Profile({.sysnr = "  "})}, ExamplePrtgDocument()},
        LogonCase{"EscapesDestinationInError",
                  {.profile = Profile({.destination = "R&D", .hostname = "nowhere"})},
                  PrtgErrorDocument("Error 1011: RFC-Open for R&amp;D failed !"),
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("partner 'nowhere:sapgw00' not reached")}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Account, Logon,
    ::testing::Values(
        LogonCase{"WrongPassword",
                  {.profile = Profile({.password = "Wrong5pw"}), .password = "Wrong5pw"},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("Name or password is incorrect (repeat logon)")},
        LogonCase{"UnknownClient",
                  {.profile = Profile({.client = "200"})},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc"},
                  TraceErrorLine("Client 200 is not available in this system")},
        LogonCase{"LongestPassword",
                  {.profile = Profile({.password = "Kw9tide4Kw9tide4Kw9t"}),
                   .system = WithAccount(PrdSystem(), "MONITOR", "Kw9tide4Kw9tide4Kw9t"),
                   .password = "Kw9tide4Kw9tide4Kw9t"},
                  ExamplePrtgDocument()},
        // The user is sent upper-cased and padded; the system takes it so.
        LogonCase{"ShortUserAndPassword",
                  {.profile = Profile({.user = "op", .password = "Zq"}),
                   .system = WithAccount(PrdSystem(), "OP", "Zq"),
                   .password = "Zq"},
                  ExamplePrtgDocument()}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Override, Logon,
    ::testing::Values(LogonCase{"HostAndNumber",
                                {.arguments = {"PRD", ",HOST=sapprd01,NO=00"},
                                 .profile = Profile({.hostname = "nowhere", .sysnr = "17"})},
                                ExamplePrtgDocument()},
                      // Keywords in any case; the values as given.
                      LogonCase{"KeywordsInLowerCase",
                                {.arguments = {"PRD", "x,host=SapPrd01,no=0 y"},
                                 .profile = Profile({.hostname = "nowhere", .sysnr = "17"})},
                                ExamplePrtgDocument()},
                      LogonCase{"InThirdArgument",
                                {.arguments = {"PRD", "", ",HOST=sapprd01"},
                                 .profile = Profile({.hostname = "nowhere"})},
                                ExamplePrtgDocument()},
                      LogonCase{"NumberOnly",
                                {.arguments = {"PRD", ",NO=17"}},
                                kLogonFailed,
                                2,
                                {"Dev_Rfc.Trc"},
                                TraceErrorLine("partner 'sapprd01:sapgw17' not reached")},
                      // An empty number is 0; an empty host is none at all.
                      LogonCase{
                          "EmptyNumber",
                          {.arguments = {"PRD", ",NO=,x"}, .profile = Profile({.sysnr = "17"})},
                          ExamplePrtgDocument()},
                      LogonCase{"EmptyHost",
                                {.arguments = {"PRD", ",HOST="}},
                                kLogonFailed,
                                2,
                                {"Dev_Rfc.Trc"},
                                TraceErrorLine("ASHOST missing in the connection data")}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    DestinationFile, Logon,
    ::testing::Values(
        // The profile's address plays no part: the entry gives it.
        LogonCase{"CopiedToSapRfcIni",
                  {.profile = Profile({.hostname = "nowhere"}),
                   .files = {{"SapRfc.PRD", kDestinationFile}}},
                  ExamplePrtgDocument(),
                  0,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile},
        LogonCase{"ReplacesSapRfcIni",
                  {.files = {{"SapRfc.PRD", kDestinationFile},
                             {"SapRfc.ini", "DEST=PRD\r\nASHOST=elsewhere\r\nSYSNR=00\r\n"}}},
                  ExamplePrtgDocument(),
                  0,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile},
        LogonCase{"ConsoleLineNamesIt",
                  {.arguments = {"PRD", "$"}, .files = {{"SapRfc.PRD", kDestinationFile}}},
                  OpeningLines("$") + "* SapRfc.Ini.......: PRD<\n" + ExamplePrtgDocument() +
                      std::string(kProcessedLine),
                  0,
                  {"SapRfc.ini"},
                  {},
                  kDestinationFile},
        // An empty file still makes an empty "SapRfc.ini", which names no
        // destination.
        LogonCase{"Empty",
                  {.files = {{"SapRfc.PRD", ""}}},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc", "SapRfc.ini"},
                  TraceErrorLine("destination 'PRD' not found in SapRfc.ini"),
                  "",
                  {},
                  1,
                  {},
                  {},
                  0},
        LogonCase{"WithoutEntryForDestination",
                  {.files = {{"SapRfc.PRD", "DEST=QAS\nASHOST=sapprd01\nSYSNR=00\n"}}},
                  kLogonFailed,
                  2,
                  {"Dev_Rfc.Trc", "SapRfc.ini"},
                  TraceErrorLine("destination 'PRD' not found in SapRfc.ini"),
                  "DEST=QAS\nASHOST=sapprd01\nSYSNR=00\n",
                  {},
                  1,
                  {},
                  {},
                  0},
        // A directory of that name is no destination file...
        LogonCase{"DirectoryOfThatName",
                  {.profile = Profile({}), .directories = {"SapRfc.PRD"}},
                  ExamplePrtgDocument()},
        // ...and one in the place of "SapRfc.ini" keeps the library from
        // being asked at all.
        LogonCase{"SapRfcIniCannotBeWritten",
                  {.files = {{"SapRfc.PRD", kDestinationFile}}, .directories = {"SapRfc.ini"}},
                  kLogonFailed,
                  2,
                  {},
                  {},
                  std::nullopt,
                  {},
                  0},
        // The destination "ini" names the library's own file, which stays.
        LogonCase{"DestinationIni",
                  {.profile = Profile({.destination = "ini", .hostname = "nowhere"}),
                   .files = {{"SapRfc.ini", "DEST=ini\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"}}},
                  PrtgDocument(FillingText("ini", "5000", "37", "63"), ExampleChannels()),
                  0,
                  {},
                  {},
                  "DEST=ini\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"},
        // File names ignore case: "SapRfc.INI" is the library's file too.
        LogonCase{"DestinationIniInUpperCase",
                  {.profile = Profile({.destination = "INI", .hostname = "nowhere"}),
                   .files = {{"SapRfc.ini", "DEST=INI\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"}}},
                  PrtgDocument(FillingText("INI", "5000", "37", "63"), ExampleChannels()),
                  0,
                  {},
                  {},
                  "DEST=INI\r\nASHOST=sapprd01\r\nSYSNR=00\r\n"}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Console, Logon,
    ::testing::Values(LogonCase{"Refused",
                                {.arguments = {"PRD", "$"},
                                 .profile = Profile({.password = "Wrong5pw"}),
                                 .password = "Wrong5pw"},
                                OpeningLines("$") + kLogonFailed,
                                2,
                                {"Dev_Rfc.Trc"},
                                TraceErrorLine("Name or password is incorrect (repeat logon)")},
                      // An error the library hands to the sensor's handler while logging
                      // on ends the run with the RFC error report.
                      LogonCase{"ErrorHandlerCalled",
                                {.arguments = {"PRD", "$"},
                                 .system = WithFaults(PrdSystem(),
                                                      json::array({{{"operation", "RfcOpen"},
                                                                    {"error_handler", true}}}))},
                                OpeningLines("$") + SimulatedFailureReport("RfcOpen", "RfcOpen"),
                                1,
                                {"Dev_Rfc.Trc"},
                                TraceErrorLine("simulated failure of RfcOpen"),
                                std::nullopt,
                                std::string(kAbortLogLine),
                                1,
                                "the NetWeaver library calls no error handler"}),
    NameOfCase);

// A password with a character outside the ANSI code page, as PRTG hands it
// over on Windows: the NetWeaver library takes it whole in UTF-16; the
// classic library cannot take it at all, and it is refused before any
// logon rather than sent as a best-fit stand-in.
TEST(LogonCredentials, PasswordOutsideTheAnsiCodePage) {
  if (!UnderWine()) {
    GTEST_SKIP() << "the Linux programs hand environment values on as the bytes they are: there "
                    "is no ANSI code page to fall outside of";
  }
  // "\u0141" (L with stroke) has no place in code page 1252, nor "\u03a9".
  const std::string password = "Yx8 \u0141\u03a9D\u0179=q7 fern";
  SingleRunResult result = RunSingle(
      {.arguments = {"PRD", "CRED=WINDOWS"},
       .profile = WithoutCredentials({}),
       // The classic stand-in reads no account beyond ISO 8859-1.
       .system = ThroughNetWeaver() ? WithAccount(PrdSystem(), "MONITOR", password) : PrdSystem(),
       .files = {{"SapRfc.PRD", kDestinationFile}},
       .environment = {{"prtg_windowsuser", "monitor"},
                       {"prtg_windowspassword", password},
                       // Wine reads the environment in the host's locale.
                       {"LC_ALL", "C.UTF-8"}},
       .password = password});
  if (ThroughNetWeaver()) {
    EXPECT_EQ(result.outcome.out, ExamplePrtgDocument());
    EXPECT_EQ(result.outcome.exit_code, 0);
    return;
  }
  EXPECT_EQ(result.outcome.out,
            PrtgErrorDocument("Error 1034: prtg_windowspassword holds a character outside the "
                              "Windows ANSI code page, which librfc32 cannot take - log on "
                              "through sapnwrfc.dll or with another password"));
  EXPECT_EQ(result.outcome.exit_code, 2);
  EXPECT_EQ(CountOf(result.record, "RfcOpen") + CountOf(result.record, "RfcOpenEx"), 0u);
}

// What the library is handed for a logon.

json OpenOptionsOf(const SingleRunResult& result) {
  std::vector<json> opens = RecordOf(result.record, "RfcOpen");
  EXPECT_EQ(opens.size(), 1u);
  return opens.empty() ? json() : opens.front()["options"];
}

// The record shows what the sensor handed a classic library; through the
// NetWeaver library it shows the stand-in's own logon (no destination, no
// blank padding, RfcOpen for a destination file too).
const std::string kClassicRecord =
    "the record shows the NetWeaver stand-in's own logon, not what the sensor hands a classic "
    "library";

TEST(LogonRecord, ByHost) {
  if (ThroughNetWeaver()) GTEST_SKIP() << kClassicRecord;
  SingleRunResult result = RunSingle({});
  EXPECT_EQ(result.outcome.exit_code, 0);
  EXPECT_EQ(OpenOptionsOf(result), json::parse(R"({
      "destination": "PRD", "mode": 0, "client": "100",
      "user": "MONITOR     ", "password": "Kw9tide4  ", "language": "E", "trace": 0,
      "connection": {"host": "sapprd01", "system_number": 0,
                     "gateway_host": "sapprd01", "gateway_service": "sapgw00"}})"));
  EXPECT_EQ(CountOf(result.record, "RfcOpenEx"), 0u);
  std::vector<json> closes = RecordOf(result.record, "RfcClose");
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0]["handle"], 1);
  EXPECT_EQ(closes[0]["was_open"], true);
}

TEST(LogonRecord, ByGateway) {
  SingleRunResult result =
      RunSingle({.profile = Profile(GatewayProfile("R/2")), .system = GatewaySystem()});
  if (ThroughNetWeaver()) {
    // Refused by the adapter: the library is never asked.
    EXPECT_EQ(result.outcome.exit_code, 2);
    EXPECT_THAT(TraceAfter(result.outcome).value_or(""), HasSubstr(kR2Refused));
    EXPECT_EQ(CountOf(result.record, "RfcOpen"), 0u);
    return;
  }
  EXPECT_EQ(result.outcome.exit_code, 0);
  EXPECT_EQ(OpenOptionsOf(result), json::parse(R"({
      "destination": "PRD", "mode": 1, "client": "100",
      "user": "MONITOR     ", "password": "Kw9tide4  ", "language": "E", "trace": 0,
      "connection": {"gateway_host": "r2gate", "gateway_service": "sapgw42"}})"));
}

struct PaddingCase {
  std::string name;
  std::string user;
  std::string password;
  std::string sent_user;
  std::string sent_password;
  // Why the case does not apply through SAP's NetWeaver library; empty
  // where it does.
  std::string classic_only = {};
};

void PrintTo(const PaddingCase& c, std::ostream* out) { *out << c.name; }

class LogonPadding : public ::testing::TestWithParam<PaddingCase> {};

// User and password are padded with blanks to 12 and 10 characters; longer
// ones stay whole.
TEST_P(LogonPadding, FillsTheFields) {
  const PaddingCase& c = GetParam();
  if (ThroughNetWeaver() && !c.classic_only.empty()) GTEST_SKIP() << c.classic_only;
  SingleRunResult result = RunSingle({.profile = Profile({.user = c.user, .password = c.password}),
                                      .system = WithAccount(PrdSystem(), c.user, c.password),
                                      .password = c.password});
  EXPECT_EQ(result.outcome.out, ExamplePrtgDocument());
  json options = OpenOptionsOf(result);
  EXPECT_EQ(options["user"], c.sent_user);
  EXPECT_EQ(options["password"], c.sent_password);
}

INSTANTIATE_TEST_SUITE_P(Record, LogonPadding,
                         ::testing::Values(PaddingCase{"Short", "op", "Zq", "OP          ",
                                                       "Zq        ",
                                                       "the NetWeaver library takes user and "
                                                       "password without the classic padding"},
                                           PaddingCase{"Exact", "Monitoring12", "Kw9tide4xy",
                                                       "MONITORING12", "Kw9tide4xy"},
                                           PaddingCase{"Longer", "MonitoringUser", "Kw9tide4xyz",
                                                       "MONITORINGUSER", "Kw9tide4xyz"}),
                         NameOfCase);

struct AddressCase {
  std::string name;
  std::string options;
  json host;
  int system_number;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.name; }

class LogonOverride : public ::testing::TestWithParam<AddressCase> {};

// What ",HOST=" and ",NO=" make of the address of a profile that names
// host "nowhere" and system number 17.
TEST_P(LogonOverride, ReplacesProfileAddress) {
  const AddressCase& c = GetParam();
  SingleRunResult result = RunSingle({.arguments = {"PRD", c.options},
                                      .profile = Profile({.hostname = "nowhere", .sysnr = "17"})});
  json connection = OpenOptionsOf(result)["connection"];
  EXPECT_EQ(connection["host"], c.host);
  EXPECT_EQ(connection["system_number"], c.system_number);
}

INSTANTIATE_TEST_SUITE_P(
    Record, LogonOverride,
    ::testing::Values(AddressCase{"Both", ",HOST=sapprd01,NO=00", "sapprd01", 0},
                      AddressCase{"ValueEndsAtBlank", ",HOST=sapprd01 ,NO=7", "sapprd01", 7},
                      AddressCase{"HostAsGiven", ",host=SapPrd01", "SapPrd01", 17},
                      AddressCase{"EmptyNumber", ",NO=,HOST=sapprd01", "sapprd01", 0},
                      AddressCase{"NumberNotDigits", ",NO=x1", "nowhere", 0},
                      AddressCase{"EmptyHostIsNone", ",HOST=", nullptr, 17}),
    NameOfCase);

TEST(LogonRecord, ThroughDestinationFile) {
  if (ThroughNetWeaver()) GTEST_SKIP() << kClassicRecord;
  SingleRunResult result = RunSingle({.files = {{"SapRfc.PRD", kDestinationFile}}});
  EXPECT_EQ(result.outcome.exit_code, 0);
  EXPECT_EQ(CountOf(result.record, "RfcOpen"), 0u);
  std::vector<json> opens = RecordOf(result.record, "RfcOpenEx");
  ASSERT_EQ(opens.size(), 1u);
  // The texts as read: neither padded nor the profile's language.
  EXPECT_EQ(opens[0]["connection_text"], "CLIENT=100 USER=MONITOR PASSWD=Kw9tide4 LANG=D DEST=PRD");
  EXPECT_EQ(opens[0]["system"], "PRD");
}

TEST(LogonRecord, EmptyDestinationFileStillOpens) {
  if (ThroughNetWeaver()) {
    GTEST_SKIP() << "the adapter reads SapRfc.ini itself and refuses a destination it lacks "
                    "without asking the NetWeaver library";
  }
  SingleRunResult result = RunSingle({.files = {{"SapRfc.PRD", ""}}});
  EXPECT_EQ(result.outcome.exit_code, 2);
  std::vector<json> opens = RecordOf(result.record, "RfcOpenEx");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0]["handle"], 0);
  EXPECT_THAT(RecordOf(result.record, "RfcClose"), IsEmpty());
}

}  // namespace
}  // namespace e2e
