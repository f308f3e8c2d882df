// Listing runs that measure their systems side by side ("PARALLEL=N"), each
// in a process of its own: what one after another cannot do, and what no
// system can do to them. That they answer with the bytes of the run one
// after another, the listing tables show.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/listing_fixtures.h"

namespace e2e::listing {
namespace {

using namespace std::chrono_literals;
using Files = std::map<std::string, std::string>;

// How long a run with a deadline may take at most: the deadline, the
// programs' start under Wine and a loaded machine.
constexpr std::chrono::milliseconds kAnswerWithin = 20s;

std::string SidOf(int i) { return "S0" + std::to_string(i); }

// Systems S01 to S0`count`, each with its own number of used pages and
// `delays`, listed for PRD01 and named by their profiles.
Files NumberedSystems(int count, const std::vector<std::string>& delays = {}) {
  std::vector<SapSystem> systems;
  std::string entries;
  for (int i = 1; i <= count; ++i) {
    systems.push_back({.sid = SidOf(i), .host = "host" + SidOf(i), .used_pages = 1000 + i});
    systems.back().delays = delays;
    entries += SidOf(i) + ".P00#";
  }
  Files files = SystemFiles(systems);
  files[kGlobalListing] = Listing(entries, ItemText("Item=Used:Area,Profile"));
  return files;
}

// The channels of S01 to S0`count` but those of `left_out`.
std::string Channels(int count, const std::vector<int>& left_out = {}) {
  std::string channels;
  for (int i = 1; i <= count; ++i) {
    if (std::find(left_out.begin(), left_out.end(), i) != left_out.end()) continue;
    channels += printed::PrtgChannel(SidOf(i) + ".P00", std::to_string(1000 + i));
  }
  return channels;
}

Scenario ListingRun(Files files, std::vector<std::string> further_words) {
  std::vector<std::string> arguments = {"GLOBAL", "PRD01", ""};
  arguments.insert(arguments.end(), further_words.begin(), further_words.end());
  return InPrtg({.arguments = std::move(arguments), .files = std::move(files)});
}

// Six systems whose fillings take two seconds each: one after another they
// would need twice the deadline; side by side all answer in time.
TEST(SideBySide, SlowSystemsAnswerInTime) {
  const Files files =
      NumberedSystems(6, {R"({"operation": "RfcReceive ADA_DB_FILLING", "seconds": 2})"});
  const Outcome outcome = RunSensor(ListingRun(files, {"PARALLEL=6", "TIMEOUT=6"}));
  EXPECT_EQ(outcome.out,
            printed::PrtgOpening() + Channels(6) + printed::PrtgSummary("Used Area", 6, 6, 0));
  EXPECT_EQ(outcome.exit_code, 0);
  // No process's files are left behind.
  EXPECT_THAT(outcome.changed_files, ::testing::IsEmpty());
}

// Eight systems, four at a time: the later ones wait for a free place and
// the answer is the one of the run one after another.
TEST(SideBySide, MoreSystemsThanPlaces) {
  const Files files = NumberedSystems(8);
  const Outcome side_by_side = RunSensor(ListingRun(files, {"PARALLEL=4"}));
  EXPECT_EQ(side_by_side.out,
            printed::PrtgOpening() + Channels(8) + printed::PrtgSummary("Used Area", 8, 8, 0));
  EXPECT_EQ(side_by_side.exit_code, 0);
  EXPECT_THAT(side_by_side.changed_files, ::testing::IsEmpty());
}

// A system whose logon never answers costs that system alone: the others
// are measured, and at the deadline the summary names it.
TEST(SideBySide, ALogonThatNeverAnswersCostsItsSystemAlone) {
  Files files = NumberedSystems(5);
  SapSystem silent{.sid = "S03", .host = "hostS03", .used_pages = 1003};
  silent.delays = {R"({"operation": "RfcOpen", "seconds": 600})",
                   R"({"operation": "RfcOpenEx", "seconds": 600})"};
  std::vector<SapSystem> landscape;
  for (int i = 1; i <= 5; ++i) {
    landscape.push_back(
        i == 3 ? silent
               : SapSystem{.sid = SidOf(i), .host = "host" + SidOf(i), .used_pages = 1000 + i});
  }
  files[kLandscape] = LandscapeOf(landscape);
  const Outcome outcome = RunSensor(ListingRun(files, {"PARALLEL=5", "TIMEOUT=4"}));
  EXPECT_EQ(outcome.out,
            printed::PrtgOpening() + Channels(5, {3}) +
                printed::PrtgSummary("Used Area", 5, 4, 1, "Timeout after 4 s at S03.P00 "));
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_LT(outcome.elapsed, kAnswerWithin);
  EXPECT_THAT(outcome.changed_files, ::testing::IsEmpty());
}

// A library that crashes (an access violation inside it) ends the process
// of its system alone, which counts as failed.
TEST(SideBySide, ACrashingLibraryCostsItsSystemAlone) {
  Files files = NumberedSystems(3);
  std::vector<SapSystem> landscape;
  for (int i = 1; i <= 3; ++i) {
    landscape.push_back({.sid = SidOf(i), .host = "host" + SidOf(i), .used_pages = 1000 + i});
  }
  landscape[1].faults = {R"({"operation": "RfcReceive ADA_DB_FILLING", "crash": true})"};
  files[kLandscape] = LandscapeOf(landscape);
  const Outcome outcome = RunSensor(ListingRun(files, {"PARALLEL=3"}));
  EXPECT_EQ(outcome.out,
            printed::PrtgOpening() + Channels(3, {2}) + printed::PrtgSummary("Used Area", 3, 2, 1));
  EXPECT_EQ(outcome.exit_code, 0);
  // No process's files are left behind.
  EXPECT_THAT(outcome.changed_files, ::testing::IsEmpty());
}

// An invalid number of systems at once ends the run before any logon,
// wherever the keyword stands.
// A system that ends the run (its probe fails) ends it as one after another
// would, though a later system's logon never answers and no deadline is
// set: that system gets a few seconds to log off, no more.
TEST(SideBySide, TheRunEndsThoughALaterLogonNeverAnswers) {
  Files files = NumberedSystems(3);
  std::vector<SapSystem> landscape;
  for (int i = 1; i <= 3; ++i) {
    landscape.push_back({.sid = SidOf(i), .host = "host" + SidOf(i), .used_pages = 1000 + i});
  }
  landscape[1].faults = {R"({"operation": "RfcReceive GET_CPU_ALL", "result": 2,
      "exception": "NOT_ACTIVE", "message": "collector not active"})"};
  landscape[2].delays = {R"({"operation": "RfcOpen", "seconds": 600})",
                         R"({"operation": "RfcOpenEx", "seconds": 600})"};
  files[kLandscape] = LandscapeOf(landscape);
  const Outcome side_by_side = RunSensor(ListingRun(files, {"PARALLEL=3"}));
  EXPECT_EQ(side_by_side.out,
            printed::PrtgOpening() + Channels(1) +
                PrtgErrorDocument("Error 1012: Exception.: NOT_ACTIVE - collector not active"));
  EXPECT_EQ(side_by_side.exit_code, 2);
  EXPECT_LT(side_by_side.elapsed, kAnswerWithin);
  // The failed probe's trace, as one after another leaves it.
  EXPECT_THAT(side_by_side.changed_files, ::testing::ElementsAre(kTraceFile));
}

TEST(SideBySide, InvalidValuesEndTheRunFirst) {
  for (const char* systems : {"PARALLEL=0", "PARALLEL=33", "PARALLEL=", "parallel=2x"}) {
    Scenario scenario = ListingRun(NumberedSystems(2), {systems});
    scenario.environment = {{"RFCSIM_RECORD", kRecord}};
    const Outcome outcome = RunSensor(scenario);
    EXPECT_EQ(
        outcome.out,
        PrtgErrorDocument("Error 1033: Invalid option PARALLEL= - needs 1 to 32 systems at once"))
        << systems;
    EXPECT_EQ(outcome.exit_code, 2) << systems;
    EXPECT_THAT(LoggedOnDestinations(outcome), ::testing::IsEmpty()) << systems;
  }
}

}  // namespace
}  // namespace e2e::listing
