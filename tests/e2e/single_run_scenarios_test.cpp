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

#include "tests/e2e/document_checks.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// An earlier run's trace, which a successful run removes.
const std::map<std::string, std::string> kEarlierTrace = {
    {"Dev_Rfc.Trc", "**** ERROR file opened at 20240430 080000\nERROR       disk full\n\n"}};

const std::string kExampleText = FillingText("PRD", "5000", "37", "63");

std::map<std::string, std::string> Flavour(std::string_view keyword) {
  return {{"BRACKWATER_FLAVOUR", std::string(keyword)}};
}

// The run succeeded with exactly `out` (times masked) and removed the trace.
void ExpectSuccess(const SingleRunResult& result, std::string_view out) {
  EXPECT_EQ(MaskTimes(result.outcome.out), out);
  EXPECT_EQ(result.outcome.exit_code, 0);
  EXPECT_EQ(result.outcome.err, "");
  EXPECT_THAT(result.changed_files, ElementsAre("Dev_Rfc.Trc"));
  EXPECT_FALSE(result.outcome.Exists("Dev_Rfc.Trc"));
}

struct SuccessCase {
  std::string name;
  std::vector<std::string> arguments;
  std::map<std::string, std::string> environment;
  std::string out;
};

void PrintTo(const SuccessCase& c, std::ostream* out) { *out << c.name; }

class Document : public ::testing::TestWithParam<SuccessCase> {};

TEST_P(Document, IsPrintedWhole) {
  const SuccessCase& c = GetParam();
  ExpectSuccess(
      RunSingle({.arguments = c.arguments, .files = kEarlierTrace, .environment = c.environment}),
      c.out);
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
        // "CH=" means nothing to the other formats.
        SuccessCase{"PrtgIgnoresChannelChoice", {"PRD", "CH=1"}, {}, ExamplePrtgDocument()},
        // A keyword the sensor does not know: no framing, channels as PRTG's.
        SuccessCase{"UnknownKeyword",
                    {"PRD"},
                    Flavour("exexml"),
                    kExampleText + PrtgChannels(ExampleChannels())}),
    NameOfCase);

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
                    OpeningLines("CH=3 $") + "37\n" + std::string(kProcessedLine)}),
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
    // The stand-in beside the program, by its full Windows path.
    EXPECT_TRUE(err.starts_with("0 RFC library loaded ")) << err;
    EXPECT_TRUE(err.substr(0, err.find('\n')).ends_with("\\" + library)) << err;
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
