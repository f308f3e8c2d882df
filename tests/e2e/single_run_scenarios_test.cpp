// A single-system run that gets through: the document in each monitor's
// format, the console lines, the database check, and the filling's numbers
// as the channels carry them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/alarm_fixtures.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/expectations.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::Not;

// An earlier run's trace, which a successful run removes.
const std::map<std::string, std::string> kEarlierTrace = {
    {"Dev_Rfc.Trc", "**** ERROR file opened at 20240430 080000\nERROR       disk full\n\n"}};

const std::string kExampleText = FillingText("PRD", "5000", "37", "63");

std::map<std::string, std::string> Flavour(std::string_view keyword) {
  return {{"BRACKWATER_FLAVOUR", std::string(keyword)}};
}

// The run succeeded with exactly `out` (times masked) and `exit_code` (the
// monitoring plugin's state) and removed the trace; the filling's history
// changed where a forecast was asked for.
void ExpectSuccess(const SingleRunResult& result, std::string_view out, bool forecast = false,
                   int exit_code = 0) {
  EXPECT_EQ(MaskTimes(result.outcome.out), out);
  EXPECT_EQ(result.outcome.exit_code, exit_code);
  EXPECT_EQ(result.outcome.err, "");
  if (forecast) {
    EXPECT_THAT(result.changed_files, ElementsAre("Dev_Rfc.Trc", "PRD.P00.hst"));
  } else {
    EXPECT_THAT(result.changed_files, ElementsAre("Dev_Rfc.Trc"));
  }
  EXPECT_FALSE(result.outcome.Exists("Dev_Rfc.Trc"));
}

struct SuccessCase {
  std::string name;
  std::vector<std::string> arguments;
  std::map<std::string, std::string> environment;
  std::string out;
  // Laid beside the profile: the filling's history, for a forecast.
  std::optional<std::string> history = std::nullopt;
  // The run forecasts, and so writes the history.
  bool forecast = false;
  int exit_code = 0;
};

void PrintTo(const SuccessCase& c, std::ostream* out) { *out << c.name; }

class Document : public ::testing::TestWithParam<SuccessCase> {};

TEST_P(Document, IsPrintedWhole) {
  const SuccessCase& c = GetParam();
  std::map<std::string, std::string> files = kEarlierTrace;
  if (c.history) files["PRD.P00.hst"] = *c.history;
  ExpectSuccess(RunSingle({.arguments = c.arguments, .files = files, .environment = c.environment}),
                c.out, c.forecast, c.exit_code);
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, Document,
    ::testing::Values(
        SuccessCase{"Default", {"PRD"}, {}, ExamplePrtgDocument()},
        SuccessCase{"Exexml", {"PRD"}, Flavour("EXEXML"), ExamplePrtgDocument()},
        SuccessCase{"Wendrel", {"PRD"}, Flavour("Wendrel"), ExamplePrtgDocument()},
        SuccessCase{"Ostrune", {"PRD"}, Flavour("Ostrune"), ExamplePrtgDocument()},
        SuccessCase{"Halvaric",
                    {"PRD"},
                    Flavour("Halvaric"),
                    HalvaricDocument(kExampleText, ExampleChannels())},
        SuccessCase{"Pellmar",
                    {"PRD"},
                    Flavour("Pellmar"),
                    PellmarDocument(kExampleText, ExampleChannels())},
        // With a channel chosen, its value alone.
        SuccessCase{"PellmarFirstChannel", {"PRD", "CH=1"}, Flavour("Pellmar"), "5\n"},
        SuccessCase{"PellmarThirdChannel", {"PRD", "ch=3"}, Flavour("Pellmar"), "37\n"},
        SuccessCase{"PellmarLastChannel", {"PRD", "x", "CH=9"}, Flavour("Pellmar"), "63\n"},
        SuccessCase{"PellmarChannelZero", {"PRD", "CH=0"}, Flavour("Pellmar"), "\n"},
        SuccessCase{"PellmarChannelTen", {"PRD", "CH=10"}, Flavour("Pellmar"), "\n"},
        SuccessCase{"Nagios",
                    {"PRD"},
                    Flavour("Nagios"),
                    NagiosLine("OK", kExampleText, ExampleChannels())},
        SuccessCase{"ScriptV2IgnoresChannelChoice",
                    {"PRD", "CH=1"},
                    Flavour("ScriptV2"),
                    ScriptV2Document("ok", kExampleText, ExampleChannels())},
        // "CH=" means nothing to the other formats.
        SuccessCase{"PrtgIgnoresChannelChoice", {"PRD", "CH=1"}, {}, ExamplePrtgDocument()},
        // A keyword the sensor does not know: no framing, channels as PRTG's.
        SuccessCase{"UnknownKeyword",
                    {"PRD"},
                    Flavour("exexml"),
                    kExampleText + PrtgChannels(ExampleChannels())}),
    NameOfCase);

// A month of a data area growing 100 pages a day to PRD's 1850 of 5000:
// 31.5 days left.
const std::string kSteadyGrowth = GrowingHistory(1850, 5000, 100, 30);
// Ten pages a day for weeks, 300 a day over the last two: 10.5 days left
// at the pace of those two.
const std::string kFasterOfLate =
    GrowingHistory(1250, 5000, 10, 20, 48) + GrowingHistory(1850, 5000, 300, 2);
const Alarms kUsedAreaLimits{.used_area_limits = UsedAreaLimitElements(80, 90)};

// "LIMITS=" gives the used area's per cents PRTG's levels; "FORECAST" adds
// the days until the data area is full, from the history beside the
// profile.
INSTANTIATE_TEST_SUITE_P(
    Alarms, Document,
    ::testing::Values(
        SuccessCase{"Limits",
                    {"PRD", "LIMITS=80/90"},
                    {},
                    PrtgDocument(kExampleText, ExampleChannels(), kUsedAreaLimits)},
        SuccessCase{"LimitsAnyCaseAnywhere",
                    {"PRD", "x", "-limits=1/100"},
                    Flavour("Ostrune"),
                    PrtgDocument(kExampleText, ExampleChannels(),
                                 {.used_area_limits = UsedAreaLimitElements(1, 100)})},
        // The line formats have no levels.
        SuccessCase{"LimitsHalvaric",
                    {"PRD", "LIMITS=80/90"},
                    Flavour("Halvaric"),
                    HalvaricDocument(kExampleText, ExampleChannels())},
        SuccessCase{"LimitsPellmar",
                    {"PRD", "LIMITS=80/90"},
                    Flavour("Pellmar"),
                    PellmarDocument(kExampleText, ExampleChannels())},
        // The formats that judge the run: above the warning level (37 > 30)
        // WARNING, above the error level CRITICAL.
        SuccessCase{
            "LimitsNagios",
            {"PRD", "LIMITS=80/90"},
            Flavour("Nagios"),
            NagiosLine("OK", kExampleText, ExampleChannels(), {.used_area_ranges = "80;90"})},
        SuccessCase{
            "LimitsNagiosCritical",
            {"PRD", "LIMITS=20/30"},
            Flavour("Nagios"),
            NagiosLine("CRITICAL", kExampleText, ExampleChannels(), {.used_area_ranges = "20;30"}),
            std::nullopt,
            false,
            2},
        SuccessCase{
            "LimitsNagiosAtTheLevel",
            {"PRD", "LIMITS=37/38"},
            Flavour("Nagios"),
            NagiosLine("OK", kExampleText, ExampleChannels(), {.used_area_ranges = "37;38"})},
        SuccessCase{"LimitsScriptV2Warning",
                    {"PRD", "LIMITS=30/90"},
                    Flavour("ScriptV2"),
                    ScriptV2Document("warning", kExampleText, ExampleChannels())},
        SuccessCase{"LimitsScriptV2Error",
                    {"PRD", "LIMITS=20/36"},
                    Flavour("ScriptV2"),
                    ScriptV2Document("error", kExampleText, ExampleChannels())},
        SuccessCase{"Forecast",
                    {"PRD", "FORECAST"},
                    {},
                    PrtgDocument(kExampleText, ExampleChannels(), {.days_until_full = "31"}),
                    kSteadyGrowth,
                    true},
        SuccessCase{"ForecastOverTwoDays",
                    {"PRD", "Forecast=2"},
                    {},
                    PrtgDocument(kExampleText, ExampleChannels(), {.days_until_full = "10"}),
                    kFasterOfLate,
                    true},
        SuccessCase{"ForecastWithLimits",
                    {"PRD", "LIMITS=80/90", "FORECAST=30"},
                    Flavour("Wendrel"),
                    PrtgDocument(kExampleText, ExampleChannels(),
                                 {.used_area_limits = UsedAreaLimitElements(80, 90),
                                  .days_until_full = "31"}),
                    kSteadyGrowth,
                    true},
        // A first poll starts the history: nothing to forecast from yet.
        SuccessCase{"ForecastWithoutHistory",
                    {"PRD", "FORECAST"},
                    {},
                    PrtgDocument(kExampleText, ExampleChannels(), {.days_until_full = "3650"}),
                    std::nullopt,
                    true},
        // Without "=" the keyword is a word of its own: inside a name it
        // neither forecasts nor writes a history.
        SuccessCase{"ForecastInsideAName",
                    {"PRD", "LIMITS=80/90,x", "sapforecast1 FORECASTS,FORECAST2"},
                    {},
                    PrtgDocument(kExampleText, ExampleChannels(), kUsedAreaLimits),
                    kSteadyGrowth},
        // Ten channels: as many as Halvaric takes.
        SuccessCase{"ForecastHalvaric",
                    {"PRD", "FORECAST"},
                    Flavour("Halvaric"),
                    HalvaricDocument(kExampleText, ExampleChannels(), {.days_until_full = "31"}),
                    kSteadyGrowth,
                    true},
        SuccessCase{"ForecastPellmar",
                    {"PRD", "FORECAST"},
                    Flavour("Pellmar"),
                    PellmarDocument(kExampleText, ExampleChannels(), {.days_until_full = "31"}),
                    kSteadyGrowth,
                    true},
        SuccessCase{"ForecastNagios",
                    {"PRD", "FORECAST"},
                    Flavour("Nagios"),
                    NagiosLine("OK", kExampleText, ExampleChannels(), {.days_until_full = "31"}),
                    kSteadyGrowth,
                    true},
        // Fewer than 30 days: WARNING.
        SuccessCase{
            "ForecastOverTwoDaysNagios",
            {"PRD", "Forecast=2"},
            Flavour("Nagios"),
            NagiosLine("WARNING", kExampleText, ExampleChannels(), {.days_until_full = "10"}),
            kFasterOfLate,
            true,
            1},
        SuccessCase{
            "ForecastWithLimitsScriptV2",
            {"PRD", "LIMITS=80/90", "FORECAST=30"},
            Flavour("ScriptV2"),
            ScriptV2Document("ok", kExampleText, ExampleChannels(), {.days_until_full = "31"}),
            kSteadyGrowth,
            true},
        SuccessCase{
            "ForecastOverTwoDaysScriptV2",
            {"PRD", "Forecast=2"},
            Flavour("ScriptV2"),
            ScriptV2Document("warning", kExampleText, ExampleChannels(), {.days_until_full = "10"}),
            kFasterOfLate,
            true},
        SuccessCase{"ForecastPellmarChannelTen",
                    {"PRD", "FORECAST CH=10"},
                    Flavour("Pellmar"),
                    "31\n",
                    kSteadyGrowth,
                    true}),
    NameOfCase);

// Values the keywords cannot take end the run before any logon.
TEST(Alarms, InvalidValuesEndTheRunFirst) {
  const std::string limits =
      "Error 1033: Invalid option LIMITS= - needs warning/error per cent, "
      "e.g. LIMITS=80/90";
  const std::string forecast =
      "Error 1033: Invalid option FORECAST= - needs whole days from 1 to 365";
  for (const auto& [option, message] :
       std::vector<std::pair<std::string, std::string>>{{"LIMITS=90/80", limits},
                                                        {"LIMITS=abc", limits},
                                                        {"LIMITS=80", limits},
                                                        {"LIMITS=80/101", limits},
                                                        {"FORECAST=0", forecast},
                                                        {"FORECAST=abc", forecast}}) {
    SCOPED_TRACE(option);
    const SingleRunResult result =
        RunSingle({.arguments = {"PRD", option}, .files = {{"PRD.P00.hst", kSteadyGrowth}}});
    ExpectErrorDocument(result.outcome, message);
    EXPECT_EQ(CountOf(result.record, "RfcOpen") + CountOf(result.record, "RfcOpenEx"), 0u);
  }
}

// The poll's sample goes into the history, which keeps its samples and
// loses what is none; a history that cannot be read or written costs the
// forecast its past, never the measurement: the channel carries PRTG's
// warning, the text says what went wrong, and ",SYSLOG" tells more.
TEST(Alarms, HistoryKeptOrItsFaultsTold) {
  const std::string prtg_days =
      PrtgDocument(kExampleText, ExampleChannels(), {.days_until_full = "31"});
  // Samples a poll with a clock four years ahead wrote stay, out of the
  // forecast.
  const std::string ahead = GrowingHistory(1, 5000, 0, 1, -4 * 365 * 24);
  const SingleRunResult kept =
      RunSingle({.arguments = {"PRD", "FORECAST,SYSLOG"},
                 .files = {{"PRD.P00.hst",
                            "garbage\n" + ahead + kSteadyGrowth + "2024-13-01T00:00:00Z 1 2\n"}}});
  EXPECT_EQ(kept.outcome.exit_code, 0);
  EXPECT_EQ(MaskTimes(kept.outcome.out), prtg_days);
  EXPECT_THAT(kept.outcome.err, HasSubstr("filling history not read"));
  EXPECT_THAT(kept.outcome.err, HasSubstr("2 lines are no sample and left out"));
  const std::string history = kept.outcome.ReadFile("PRD.P00.hst").value_or("");
  ASSERT_EQ(history.substr(0, ahead.size() + kSteadyGrowth.size()), ahead + kSteadyGrowth);
  EXPECT_THAT(history.substr(ahead.size() + kSteadyGrowth.size()),
              MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z 1850 5000\n"));

  const SingleRunResult directory =
      RunSingle({.arguments = {"PRD", "FORECAST,SYSLOG"}, .directories = {"PRD.P00.hst"}});
  EXPECT_EQ(directory.outcome.exit_code, 0);
  EXPECT_EQ(MaskTimes(directory.outcome.out),
            PrtgDocument(kExampleText + "- forecast: PRD.P00.hst not read (a directory) ",
                         ExampleChannels(), {.days_until_full = "3650", .history_trouble = true}));
  EXPECT_THAT(directory.outcome.err, HasSubstr("filling history not read"));
  EXPECT_THAT(directory.outcome.err, HasSubstr("PRD.P00.hst is a directory"));

  // A read-only history (no write permission) is read, and left as it is.
  Scenario read_only = ScenarioOf({.arguments = {"PRD", "FORECAST"},
                                   .files = {{"PRD.P00.hst", kSteadyGrowth}},
                                   .environment = Flavour("Pellmar")});
  read_only.unreadable = {"PRD.P00.hst"};
  const Outcome kept_as_it_is = RunSensor(read_only);
  EXPECT_EQ(kept_as_it_is.exit_code, 0);
  EXPECT_EQ(kept_as_it_is.out,
            PellmarDocument(kExampleText + "- forecast: PRD.P00.hst not written (read-only) ",
                            ExampleChannels(), {.days_until_full = "31"}));
  EXPECT_EQ(kept_as_it_is.ReadFile("PRD.P00.hst"), kSteadyGrowth);

  // The formats that judge the run: the history's trouble is a warning.
  read_only.environment["BRACKWATER_FLAVOUR"] = "Nagios";
  const Outcome judged = RunSensor(read_only);
  EXPECT_EQ(judged.exit_code, 1);
  EXPECT_EQ(judged.out,
            NagiosLine("WARNING", kExampleText + "- forecast: PRD.P00.hst not written (read-only) ",
                       ExampleChannels(), {.days_until_full = "31"}));
}

// Polls of one profile that overlap (a single sensor and a listing share
// the history) each answer, and leave the history whole: no poll is kept
// from recording its sample by another that reads the file meanwhile.
TEST(Alarms, OverlappingPollsOfOneProfile) {
  // A long history, so that reading and rewriting it takes the polls a
  // while.
  const std::string history = GrowingHistory(1850, 5000, 100, 100);
  Scenario scenario =
      ScenarioOf({.arguments = {"PRD", "FORECAST,SYSLOG"}, .files = {{"PRD.P00.hst", history}}});
  // The polls would append to one record at once.
  scenario.environment.erase("RFCSIM_RECORD");
  scenario.polls_at_once = 3;
  const Outcome outcome = RunSensor(scenario);
  std::vector<OverlappingPoll> polls = outcome.overlapping;
  polls.push_back({outcome.out, outcome.err, outcome.exit_code});
  ASSERT_EQ(polls.size(), 3u);
  for (const OverlappingPoll& poll : polls) {
    EXPECT_EQ(poll.exit_code, 0) << poll.err;
    EXPECT_THAT(poll.out, HasSubstr("<Channel>Days Until Full</Channel>"));
    EXPECT_THAT(poll.err, Not(HasSubstr("filling history not")));
  }
  const std::string after = outcome.ReadFile("PRD.P00.hst").value_or("");
  ASSERT_EQ(after.substr(0, history.size()), history);
  EXPECT_THAT(
      after.substr(history.size()),
      MatchesRegex("([0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z 1850 5000\n)+"));
}

INSTANTIATE_TEST_SUITE_P(
    Console, Document,
    ::testing::Values(
        SuccessCase{"Dollar",
                    {"PRD", "$"},
                    {},
                    OpeningLines("$") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        SuccessCase{"Percent",
                    {"PRD", "%"},
                    {},
                    OpeningLines("%") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        SuccessCase{
            "HashShowsNoParameters",
            {"PRD", "#"},
            {},
            OpeningLines("(No Parameters)") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        // "@" opens PRD.P00 in the working directory, PRTG's sensor directory.
        SuccessCase{
            "AtShowsNoParameters",
            {"PRD", "@"},
            {},
            OpeningLines("(No Parameters)") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        // The options as given, up to the first "#" or "@".
        SuccessCase{"OptionsUpToHash",
                    {"PRD", "Poll $", "#3"},
                    {},
                    OpeningLines("Poll $ ") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        SuccessCase{"OptionsUpToAt",
                    {"PRD", "Poll%@x"},
                    {},
                    OpeningLines("Poll%") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        SuccessCase{
            "EmptyParametersPlaceholder",
            {"PRD", "(Parameters", "#"},
            {},
            OpeningLines("(No Parameters)") + ExamplePrtgDocument() + std::string(kProcessedLine)},
        SuccessCase{"Halvaric",
                    {"PRD", "$"},
                    Flavour("Halvaric"),
                    OpeningLines("$") + HalvaricDocument(kExampleText, ExampleChannels()) +
                        std::string(kProcessedLine)},
        SuccessCase{"PellmarChannel",
                    {"PRD", "CH=3 $"},
                    Flavour("Pellmar"),
                    OpeningLines("CH=3 $") + "37\n" + std::string(kProcessedLine)},
        // Standard output is the monitor's answer alone.
        SuccessCase{"NagiosSilent",
                    {"PRD", "# $ %"},
                    Flavour("Nagios"),
                    NagiosLine("OK", kExampleText, ExampleChannels())},
        SuccessCase{"ScriptV2Silent",
                    {"PRD", "$"},
                    Flavour("ScriptV2"),
                    ScriptV2Document("ok", kExampleText, ExampleChannels())}),
    NameOfCase);

// The filling's numbers, each on its channel.

struct FillingCase {
  std::string name;
  json rows;
  std::string out;
};

void PrintTo(const FillingCase& c, std::ostream* out) { *out << c.name; }

class Filling : public ::testing::TestWithParam<FillingCase> {};

TEST_P(Filling, ChannelsCarryTheRow) {
  const FillingCase& c = GetParam();
  ExpectSuccess(RunSingle({.system = WithDevstat(PrdSystem(), c.rows), .files = kEarlierTrace}),
                c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Filling,
    ::testing::Values(
        FillingCase{"Example", json::array({ExampleRow()}), ExamplePrtgDocument()},
        FillingCase{
            "EachFieldOnItsChannel",
            json::array({DevstatRow(7001000, 2002999, 29, 1003000, 14, 999004, 15, 4998000, 71)}),
            PrtgDocument(FillingText("PRD", "7001000", "29", "71"),
                         {"7001", "2002", "29", "1003", "14", "999", "15", "4998", "71"})},
        // A single-system run reports the first row only.
        FillingCase{"TwoRows",
                    json::array({ExampleRow(), DevstatRow(9000, 9000, 100, 9000, 100, 0, 0, 0, 0)}),
                    ExamplePrtgDocument()},
        // No row: no text and no channels, yet a document PRTG can read.
        FillingCase{"NoRows", json::array(), "\n<Prtg>\n\n</Prtg>\n"}),
    NameOfCase);

INSTANTIATE_TEST_SUITE_P(
    Sizes, Filling,
    ::testing::Values(
        // Megabytes are thousands, the remainder dropped.
        FillingCase{"ThousandsTruncated",
                    json::array({DevstatRow(999, 1999, 0, 1000, 0, 0, 0, 1, 0)}),
                    PrtgDocument(FillingText("PRD", "999", "0", "0"),
                                 {"0", "1", "0", "1", "0", "0", "0", "0", "0"})},
        // Within the signed 32-bit range a negative size shows in its
        // unsigned form; beyond it every size shows exactly.
        FillingCase{"AroundTheSigned32BitRange",
                    json::array({DevstatRow(2147483647, 2147483648, 0, -1, 0, -2147483648, 0,
                                            -2147483649, 0)}),
                    PrtgDocument(FillingText("PRD", "2147483647", "0", "0"),
                                 {"2147483", "2147483", "0", "4294967", "0", "2147483", "0",
                                  "-2147483", "0"})},
        FillingCase{"NegativeTotalInRange",
                    json::array({DevstatRow(-5000, 0, 0, 0, 0, 0, 0, 0, 0)}),
                    PrtgDocument(FillingText("PRD", "4294962296", "0", "0"),
                                 {"4294962", "0", "0", "0", "0", "0", "0", "0", "0"})},
        FillingCase{"NegativeTotalBeyondRange",
                    json::array({DevstatRow(-2147483649, 0, 0, 0, 0, 0, 0, 0, 0)}),
                    PrtgDocument(FillingText("PRD", "-2147483649", "0", "0"),
                                 {"-2147483", "0", "0", "0", "0", "0", "0", "0", "0"})},
        FillingCase{"TwentyOneDigits",
                    json::array({DevstatRow("999999999999999999999C", "100000000000000000000C", 0,
                                            0, 0, 0, 0, 0, 0)}),
                    PrtgDocument(FillingText("PRD", "999999999999999999999", "0", "0"),
                                 {"999999999999999999", "100000000000000000", "0", "0", "0", "0",
                                  "0", "0", "0"})},
        // The other size fields, at their full width and negative.
        FillingCase{
            "TwentyOneDigitsNegative",
            json::array({DevstatRow(0, 0, 0, "999999999999999999999D", 0, "999999999999999999999D",
                                    0, "100000000000000000000D", 0)}),
            PrtgDocument(FillingText("PRD", "0", "0", "0"),
                         {"0", "0", "0", "-999999999999999999", "0", "-999999999999999999", "0",
                          "-100000000000000000", "0"})},
        // Digits end at the first nibble that is none; any sign but D is
        // positive; no bytes at all are zero.
        FillingCase{"OddNibbles",
                    json::array({DevstatRow("000000000000000012A45C", "000000000000000005000F", 0,
                                            "000000000000000000000D", 0, nullptr, 0,
                                            "00000000000000000A000C", 0)}),
                    PrtgDocument(FillingText("PRD", "12", "0", "0"),
                                 {"0", "5", "0", "0", "0", "0", "0", "0", "0"})},
        // Per-cent fields show their 32 bits unsigned.
        FillingCase{
            "PercentsUnsigned",
            json::array({DevstatRow(5000, 1850, -1, 1800, 2147483647, 50, -2147483648, 3150, 0)}),
            PrtgDocument(FillingText("PRD", "5000", "4294967295", "0"),
                         {"5", "1", "4294967295", "1", "2147483647", "0", "2147483648", "3",
                          "0"})}),
    NameOfCase);

TEST(Filling, NoRowsInLineFormats) {
  for (std::string_view flavour : {"Halvaric", "Pellmar"}) {
    SCOPED_TRACE(flavour);
    ExpectSuccess(RunSingle({.system = WithDevstat(PrdSystem(), json::array()),
                             .files = kEarlierTrace,
                             .environment = Flavour(flavour)}),
                  "\n");
  }
}

// The Halvaric and Pellmar formats show the destination as it is.
TEST(Filling, LineFormatsShowDestinationUnescaped) {
  ProfileSettings settings{.destination = "R&D<1>"};
  const std::string text = FillingText("R&D<1>", "5000", "37", "63");
  ExpectSuccess(RunSingle({.profile = ProfileText(settings),
                           .files = kEarlierTrace,
                           .environment = Flavour("Halvaric")}),
                HalvaricDocument(text, ExampleChannels()));
  ExpectSuccess(RunSingle({.profile = ProfileText(settings),
                           .files = kEarlierTrace,
                           .environment = Flavour("Pellmar")}),
                PellmarDocument(text, ExampleChannels()));
}

// The database check: only a name that begins with "ADA" is MaxDB.

struct DatabaseCase {
  std::string name;
  json rfcdbsys;
  bool measured;
};

void PrintTo(const DatabaseCase& c, std::ostream* out) { *out << c.name; }

class DatabaseCheck : public ::testing::TestWithParam<DatabaseCase> {};

TEST_P(DatabaseCheck, MeasuresMaxDbOnly) {
  const DatabaseCase& c = GetParam();
  SingleRunResult result =
      RunSingle({.system = WithDatabaseSystem(PrdSystem(), c.rfcdbsys), .files = kEarlierTrace});
  EXPECT_EQ(CountOf(result.record, "RfcClose"), 1u);
  if (c.measured) {
    ExpectSuccess(result, ExamplePrtgDocument());
    return;
  }
  EXPECT_EQ(result.outcome.out, PrtgErrorDocument("Error 1018: DataBase mismatch !"));
  EXPECT_EQ(result.outcome.exit_code, 2);
  EXPECT_EQ(result.outcome.err, "");
  // The earlier trace stays for the operator.
  EXPECT_THAT(result.changed_files, IsEmpty());
  EXPECT_EQ(result.outcome.ReadFile("Dev_Rfc.Trc"), kEarlierTrace.at("Dev_Rfc.Trc"));
  // The connection is closed once, and the filling is never asked for.
  std::vector<json> closes = RecordOf(result.record, "RfcClose");
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0]["handle"], 1);
  EXPECT_EQ(closes[0]["was_open"], true);
  EXPECT_EQ(result.record.back()["op"], "RfcClose");
  EXPECT_EQ(CountOf(result.record, "ItCreate", "DEVSTAT"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DatabaseCheck,
    ::testing::Values(
        DatabaseCase{"AdabasD", "ADABAS D", true}, DatabaseCase{"AdaAlone", "ADA", true},
        DatabaseCase{"AdaThenNul", json{{"hex", "41 44 41 00 41"}}, true},
        DatabaseCase{"Oracle", "ORACLE", false}, DatabaseCase{"AdaInLowerCase", "ada", false},
        DatabaseCase{"AdaAfterBlank", " ADA", false}, DatabaseCase{"AdOnly", "AD", false},
        DatabaseCase{"NulInsideAda", json{{"hex", "41 44 00 41"}}, false},
        DatabaseCase{"Blank", "", false}),
    NameOfCase);

// ",SYSLOG" asks for a trace line per library step on standard error; the
// document on standard output stays as it is.

struct TraceLineCase {
  std::string name;
  SingleRun run;
  std::string out;
  // Standard error after its first lines, which name the library loaded (a
  // program that loads one) and the program.
  std::string later_lines;
  // Those lines through SAP's NetWeaver library, where they differ by
  // nature: its one RfcInvoke fails at the answer where the classic RfcCall
  // fails at the call.
  std::optional<std::string> later_lines_through_netweaver = std::nullopt;
};

void PrintTo(const TraceLineCase& c, std::ostream* out) { *out << c.name; }

class TraceLines : public ::testing::TestWithParam<TraceLineCase> {};

TEST_P(TraceLines, FollowEachStep) {
  const TraceLineCase& c = GetParam();
  SingleRunResult result = RunSingle(c.run);
  EXPECT_EQ(result.outcome.out, c.out);
  std::string_view err = result.outcome.err;
  if (const std::string library = TargetUnderTest().RfcLibraryName(); !library.empty()) {
    // The stand-in beside the program, by its full path.
    EXPECT_TRUE(err.starts_with("0 RFC library loaded ")) << err;
    const std::string separator = UnderWine() ? "\\" : "/";
    EXPECT_TRUE(err.substr(0, err.find('\n')).ends_with(separator + library)) << err;
    err.remove_prefix(std::min(err.size(), err.find('\n') + 1));
  }
  EXPECT_TRUE(err.starts_with("0 program started ")) << err;
  EXPECT_EQ(
      err.substr(err.find('\n') + 1),
      ThroughNetWeaver() ? c.later_lines_through_netweaver.value_or(c.later_lines) : c.later_lines);
}

INSTANTIATE_TEST_SUITE_P(
    Syslog, TraceLines,
    ::testing::Values(
        TraceLineCase{
            "Success",
            {.arguments = {"PRD", ",SYSLOG"}},
            ExamplePrtgDocument(),
            "0 RfcEnvironment called \n1 RfcOpen called \n1 RfcCall called \n"
            "1 RfcReceive called \n1 RfcCall called \n1 RfcReceive called \n1 RfcCall called \n"
            "1 RfcReceive called \n"},
        TraceLineCase{"FailedCall",
                      {.arguments = {"PRD", "x,syslog"},
                       .system = WithFaults(PrdSystem(),
                                            json::array({{{"operation", "RfcCall RFC_SYSTEM_INFO"},
                                                          {"trace", json::array()}}}))},
                      PrtgErrorDocument("Error 1014: RFC-Failure raised ! - Look for Trace-File"),
                      "0 RfcEnvironment called \n1 RfcOpen called \n1 RfcCall called \n"
                      "1 RfcReceive called \n1 RfcCall called \n",
                      "0 RfcEnvironment called \n1 RfcOpen called \n1 RfcCall called \n"
                      "1 RfcReceive called \n1 RfcCall called \n1 RfcReceive called \n"},
        TraceLineCase{
            "RefusedLogon",
            {.arguments = {"PRD", ",SYSLOG"}, .profile = ProfileText({.hostname = "nowhere"})},
            PrtgErrorDocument("Error 1011: RFC-Open for PRD failed !"),
            "0 RfcEnvironment called \n0 RfcOpen called \n"}),
    NameOfCase);

// The probe needs no CPU rows to succeed.
TEST(LibraryUse, ProbeWithoutCpuRows) {
  json system = PrdSystem();
  system["functions"]["GET_CPU_ALL"]["tables"]["TF_CPU_ALL"] = json::array();
  SingleRunResult result = RunSingle({.system = system, .files = kEarlierTrace});
  ExpectSuccess(result, ExamplePrtgDocument());
  EXPECT_EQ(CountOf(result.record, "ItGetLine", "TF_CPU_ALL"), 0u);
  EXPECT_EQ(CountOf(result.record, "ItDelete", "TF_CPU_ALL"), 1u);
}

// What a successful run asks of the library: each structure installed once,
// each table created and deleted once, the modules in their order, and the
// connection closed at the end.
TEST(LibraryUse, OnceEachInOrder) {
  SingleRunResult result = RunSingle({});
  ASSERT_EQ(result.outcome.exit_code, 0);
  const std::vector<json>& record = result.record;
  for (std::string_view structure : {"CPU_ALL", "RFCSI", "ADA_DBHIST", "ADA_DEVSTA"}) {
    EXPECT_EQ(CountOf(record, "RfcInstallStructure", structure), 1u) << structure;
  }
  for (std::string_view table : {"TF_CPU_ALL", "DEVSP_HIST", "DEVSTAT"}) {
    EXPECT_EQ(CountOf(record, "ItCreate", table), 1u) << table;
    EXPECT_EQ(CountOf(record, "ItDelete", table), 1u) << table;
  }
  std::vector<std::string> sequence;
  for (const json& line : record) {
    const std::string op = line["op"];
    if (op == "RfcEnvironment" || op == "RfcOpen" || op == "RfcClose") sequence.push_back(op);
    if (op == "RfcCall" || op == "RfcReceive")
      sequence.push_back(op + " " + std::string(line["function"]));
  }
  std::vector<std::string> expected = {"RfcEnvironment",
                                       "RfcOpen",
                                       "RfcCall GET_CPU_ALL",
                                       "RfcReceive GET_CPU_ALL",
                                       "RfcCall RFC_SYSTEM_INFO",
                                       "RfcReceive RFC_SYSTEM_INFO",
                                       "RfcCall ADA_DB_FILLING",
                                       "RfcReceive ADA_DB_FILLING",
                                       "RfcClose"};
  // Through the NetWeaver library the adapter keeps the sensor's error
  // handler: the NetWeaver stand-in's record has no RfcEnvironment.
  if (ThroughNetWeaver()) expected.erase(expected.begin());
  EXPECT_EQ(sequence, expected);
  if (ThroughNetWeaver()) return;
  std::vector<json> environment = RecordOf(record, "RfcEnvironment");
  ASSERT_EQ(environment.size(), 1u);
  EXPECT_EQ(environment[0]["error_handler"], true);
  EXPECT_EQ(environment[0]["allocate"], false);
}

}  // namespace
}  // namespace e2e
