// Runs with a deadline ("TIMEOUT=N"): whichever SAP step hangs, the sensor
// answers within N seconds and a few, with the step it waited for; a
// listing keeps the systems measured in time. A step that is slow but in
// time changes nothing, and a logoff that hangs after a complete
// measurement costs neither the answer nor the count.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/listing_fixtures.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// The deadline the scenarios set, and how long a run may take at most: the
// deadline, the program's start under Wine and a loaded machine.
constexpr int kDeadlineSeconds = 3;
constexpr std::chrono::milliseconds kAnswerWithin = 15s;
// A hang: far beyond the deadline and the harness's own limit.
constexpr int kHangSeconds = 600;

json Delayed(json system, const std::string& operation, double seconds) {
  system["delays"] = json::array({{{"operation", operation}, {"seconds", seconds}}});
  return system;
}

struct HangCase {
  std::string name;
  std::string operation;  // the stand-in's operation that does not come back
  std::string step;       // as the error document names it
  std::string flavour = {};
};

void PrintTo(const HangCase& c, std::ostream* out) { *out << c.name; }

class HangingStep : public ::testing::TestWithParam<HangCase> {};

TEST_P(HangingStep, EndsWithTheTimeoutDocumentInTime) {
  const HangCase& c = GetParam();
  std::map<std::string, std::string> environment;
  if (!c.flavour.empty()) environment["BRACKWATER_FLAVOUR"] = c.flavour;
  SingleRunResult result =
      RunSingle({.arguments = {"PRD", "TIMEOUT=" + std::to_string(kDeadlineSeconds)},
                 .system = Delayed(PrdSystem(), c.operation, kHangSeconds),
                 .environment = environment});
  const Outcome& outcome = result.outcome;
  const std::string message = "Error 1032: Timeout after " + std::to_string(kDeadlineSeconds) +
                              " s - no answer from PRD at " + c.step;
  // The deadline is the sensor's own trouble: the monitoring plugin's
  // UNKNOWN, Script v2's error.
  if (c.flavour == "Nagios") {
    EXPECT_EQ(outcome.out, NagiosErrorLine("UNKNOWN", message));
    EXPECT_EQ(outcome.exit_code, 3);
  } else if (c.flavour == "ScriptV2") {
    EXPECT_EQ(outcome.out, ScriptV2ErrorDocument(message));
    EXPECT_EQ(outcome.exit_code, 0);
  } else {
    EXPECT_EQ(outcome.out, PrtgErrorDocument(message));
    EXPECT_EQ(outcome.exit_code, 2);
  }
  EXPECT_GE(outcome.elapsed, std::chrono::seconds(kDeadlineSeconds) - 100ms);
  EXPECT_LT(outcome.elapsed, kAnswerWithin);
}

INSTANTIATE_TEST_SUITE_P(
    Deadline, HangingStep,
    ::testing::Values(
        HangCase{"Logon", "RfcOpen", "the logon"},
        HangCase{"Probe", "RfcReceive GET_CPU_ALL", "GET_CPU_ALL"},
        HangCase{"SystemInformation", "RfcReceive RFC_SYSTEM_INFO", "RFC_SYSTEM_INFO"},
        HangCase{"Filling", "RfcReceive ADA_DB_FILLING", "ADA_DB_FILLING"},
        HangCase{"LogonNagios", "RfcOpen", "the logon", "Nagios"},
        HangCase{"FillingScriptV2", "RfcReceive ADA_DB_FILLING", "ADA_DB_FILLING", "ScriptV2"}),
    NameOfCase);

// The measurement is complete before the logoff: it is the answer, with the
// console's lines, and the deadline only ends the process, with exit code 0.
TEST(Deadline, LogoffThatHangsKeepsTheAnswer) {
  for (const std::string console : {"", "$ "}) {
    const std::string options = console + "TIMEOUT=" + std::to_string(kDeadlineSeconds);
    SingleRunResult result = RunSingle(
        {.arguments = {"PRD", options}, .system = Delayed(PrdSystem(), "RfcClose", kHangSeconds)});
    const Outcome& outcome = result.outcome;
    EXPECT_EQ(MaskTimes(outcome.out),
              console.empty()
                  ? ExamplePrtgDocument()
                  : OpeningLines(options) + ExamplePrtgDocument() + std::string(kProcessedLine))
        << options;
    EXPECT_EQ(outcome.exit_code, 0) << options;
    EXPECT_GE(outcome.elapsed, std::chrono::seconds(kDeadlineSeconds) - 100ms) << options;
    EXPECT_LT(outcome.elapsed, kAnswerWithin) << options;
  }
}

TEST(Deadline, SlowButInTimeChangesNothing) {
  SingleRunResult result = RunSingle({.arguments = {"PRD", "TIMEOUT=30"},
                                      .system = Delayed(PrdSystem(), "RfcReceive GET_CPU_ALL", 1)});
  EXPECT_EQ(result.outcome.out, ExamplePrtgDocument());
  EXPECT_EQ(result.outcome.exit_code, 0);
  EXPECT_GE(result.outcome.elapsed, 1s);
}

// Also where the monitor passes it as a word of its own, after the console
// mark and the limits.
TEST(Deadline, InvalidValueEndsBeforeAnyLogon) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"PRD", "x TIMEOUT=0"},
        std::vector<std::string>{"PRD", "$", "LIMITS=80/90", "TIMEOUT=0"}}) {
    SingleRunResult result = RunSingle({.arguments = arguments});
    EXPECT_EQ(result.outcome.out,
              PrtgErrorDocument(
                  "Error 1033: Invalid option TIMEOUT= - needs whole seconds from 1 to 3600"))
        << arguments.back();
    EXPECT_EQ(result.outcome.exit_code, 2);
    EXPECT_THAT(result.record, ::testing::IsEmpty());
  }
}

// PRD is measured, QAS hangs, DEV is never reached: the document keeps the
// channels of the systems measured in time and the summary counts the
// others failed. A system whose logoff hangs was measured in time. The
// deadline comes as a word of its own, as a monitor passes its parameters.
TEST(Deadline, ListingKeepsWhatWasMeasuredInTime) {
  using namespace listing;
  const struct {
    std::string hanging;  // QAS's operation that does not come back
    bool qas_measured;
  } cases[] = {{"RfcReceive GET_CPU_ALL", false}, {"RfcClose", true}};
  for (const auto& c : cases) {
    SapSystem hanging = kQas;
    hanging.delays = {R"({"operation": ")" + c.hanging + R"(", "seconds": 600})"};
    std::map<std::string, std::string> files = SystemFiles({kPrd, kQas, kDev});
    files[kLandscape] = LandscapeOf({kPrd, hanging, kDev});
    files[kGlobalListing] = Listing("PRD.P00#QAS.P00#DEV.P00#");
    const std::vector<std::string> arguments = {"GLOBAL", "PRD01", "LIMITS=80/90",
                                                "TIMEOUT=" + std::to_string(kDeadlineSeconds)};
    // The monitoring plugin's one line keeps the values measured in time;
    // the systems not measured count failed: CRITICAL.
    const Outcome judged = RunSensor(InPrtg({.arguments = arguments,
                                             .files = files,
                                             .environment = {{"BRACKWATER_FLAVOUR", "Nagios"}}}));
    EXPECT_EQ(judged.out, "MAXDB CRITICAL - Used Area: 3 systems, " +
                              std::string(c.qas_measured ? "2 measured, 1" : "1 measured, 2") +
                              " failed Timeout after " + std::to_string(kDeadlineSeconds) +
                              " s at QAS.P00 | 'PRD'=757760;;;0" +
                              (c.qas_measured ? " 'QAS'=402176;;;0" : "") + "\n")
        << c.hanging;
    EXPECT_EQ(judged.exit_code, 2) << c.hanging;
    EXPECT_LT(judged.elapsed, kAnswerWithin) << c.hanging;

    const Outcome outcome = RunSensor(InPrtg({.arguments = arguments, .files = files}));
    EXPECT_EQ(outcome.out, printed::PrtgOpening() + printed::PrtgChannel("PRD", Value(kPrd)) +
                               (c.qas_measured ? printed::PrtgChannel("QAS", Value(kQas)) : "") +
                               "\n<Text>(***) Used Area: NoSystems=3, Processed=" +
                               (c.qas_measured ? "2, Failed=1" : "1, Failed=2") +
                               " Timeout after " + std::to_string(kDeadlineSeconds) +
                               " s at QAS.P00 </Text>\n\n</Prtg>\n\n")
        << c.hanging;
    EXPECT_EQ(outcome.exit_code, 0) << c.hanging;
    EXPECT_LT(outcome.elapsed, kAnswerWithin) << c.hanging;
  }
}

}  // namespace
}  // namespace e2e
