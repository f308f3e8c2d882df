// A poll's part of the forecast on a real history file: what it keeps from
// poll to poll, and what it makes of a history it cannot read or write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "measure/days_until_full.h"
#include "measure/filling_history.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

using namespace std::chrono_literals;
using std::chrono::sys_days;
using std::chrono::sys_seconds;
using ::testing::HasSubstr;

constexpr sys_seconds kNow{sys_days{2024y / 6 / 1}};
constexpr const char* kHistory = "PRD.P00.hst";

std::string Line(sys_seconds time, std::string_view used, std::string_view total = "1000") {
  return measure::HistorySample::Of(time, used, total)->Line();
}

// What the working directory holds: the history, and no file left behind.
std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void MakeReadOnly(const char* path, bool read_only) {
  using std::filesystem::perms;
  std::filesystem::permissions(
      path, perms::owner_write | perms::group_write | perms::others_write,
      read_only ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
}

TEST(RecordAndForecast, KeepsTheHistoryFromPollToPoll) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  const measure::ForecastResult first =
      measure::RecordAndForecast(kHistory, kNow - 48h, "100", "1000", 7);
  EXPECT_EQ(first.days_until_full, 3650);
  EXPECT_EQ(first.read_problem, std::nullopt);
  EXPECT_EQ(first.write_problem, std::nullopt);
  (void)measure::RecordAndForecast(kHistory, kNow - 24h, "110", "1000", 7);
  // Named as Windows would find it in any case.
  const measure::ForecastResult third =
      measure::RecordAndForecast("prd.p00.HST", kNow, "120", "1000", 7);
  EXPECT_EQ(third.days_until_full, 88);
  EXPECT_EQ(third.read_problem, std::nullopt);
  EXPECT_EQ(third.write_problem, std::nullopt);
  EXPECT_EQ(ReadFile(kHistory),
            Line(kNow - 48h, "100") + Line(kNow - 24h, "110") + Line(kNow, "120"));
  EXPECT_EQ(Names(), std::vector<std::string>{kHistory});
}

// A poll ended while it wrote leaves its new file beside the history; a
// later poll removes it once it is an hour old, never one being written.
TEST(RecordAndForecast, NewFilesOfEndedPollsGoOnceOld) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile("PRD.P00.hst.new4711-0", "2024-05-31T00:00:00Z 1");
  WriteFile("PRD.P00.hst.new4712-0", "2024-05-31T23:00:00Z 12");
  WriteFile("QAS.P00.hst.new4713-0", "");
  const auto old = std::filesystem::file_time_type::clock::now() - 2h;
  std::filesystem::last_write_time("PRD.P00.hst.new4711-0", old);
  std::filesystem::last_write_time("QAS.P00.hst.new4713-0", old);
  const measure::ForecastResult result = measure::RecordAndForecast(kHistory, kNow, "1", "10", 7);
  EXPECT_EQ(result.write_problem, std::nullopt);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{kHistory, "PRD.P00.hst.new4712-0", "QAS.P00.hst.new4713-0"}));

  // Over a history, the first poll of an hour looks for them; the others
  // of that hour do not.
  WriteFile("PRD.P00.hst.new4714-0", "");
  std::filesystem::last_write_time("PRD.P00.hst.new4714-0", old);
  (void)measure::RecordAndForecast(kHistory, kNow + 59min, "2", "10", 7);
  EXPECT_TRUE(std::filesystem::exists("PRD.P00.hst.new4714-0"));
  (void)measure::RecordAndForecast(kHistory, kNow + 60min, "3", "10", 7);
  EXPECT_FALSE(std::filesystem::exists("PRD.P00.hst.new4714-0"));
}

TEST(RecordAndForecast, WhatCannotBeReadOrWrittenCostsNoForecast) {
  const std::string two_days = Line(kNow - 48h, "100") + Line(kNow - 24h, "110");
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::string path;
    std::string used;
    int days;
    std::string read_problem;   // a part of it; empty: none
    std::string write_problem;  // a part of it; empty: none
    std::string left;           // the history afterwards
  };
  const std::vector<Case> cases = {
      {"a directory", [] { std::filesystem::create_directory(kHistory); }, kHistory, "120", 3650,
       "PRD.P00.hst is a directory", "PRD.P00.hst is left as it is", ""},
      {"a read-only history",
       [&] {
         WriteFile(kHistory, two_days);
         MakeReadOnly(kHistory, true);
       },
       kHistory, "120", 88, "", "PRD.P00.hst is read-only", two_days},
      {"a directory on the way missing", [] {}, "missing\\PRD.P00.hst", "120", 3650, "",
       "cannot create missing\\PRD.P00.hst.new", ""},
      {"lines that are no samples",
       [&] { WriteFile(kHistory, "PRD\n" + two_days + "2024-05-31T12:00:00Z 115\n"); }, kHistory,
       "120", 88, "PRD.P00.hst: 2 lines are no sample and left out", "",
       two_days + Line(kNow, "120")},
      {"a size no line holds", [&] { WriteFile(kHistory, two_days); }, kHistory, "12a", 3650, "",
       "no sample recorded in PRD.P00.hst", two_days},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    c.prepare();
    const measure::ForecastResult result =
        measure::RecordAndForecast(c.path, kNow, c.used, "1000", 7);
    EXPECT_EQ(result.days_until_full, c.days) << c.what;
    if (c.read_problem.empty()) {
      EXPECT_EQ(result.read_problem, std::nullopt) << c.what;
    } else {
      EXPECT_THAT(result.read_problem.value_or(""), HasSubstr(c.read_problem)) << c.what;
    }
    if (c.write_problem.empty()) {
      EXPECT_EQ(result.write_problem, std::nullopt) << c.what;
    } else {
      EXPECT_THAT(result.write_problem.value_or(""), HasSubstr(c.write_problem)) << c.what;
    }
    if (std::filesystem::is_regular_file(kHistory)) {
      EXPECT_EQ(ReadFile(kHistory), c.left) << c.what;
      MakeReadOnly(kHistory, false);
      EXPECT_EQ(Names(), std::vector<std::string>{kHistory}) << c.what;
    } else {
      EXPECT_EQ(c.left, "") << c.what;
    }
  }
}

TEST(RecordAndForecast, ReadsTheEndOfAnOversizedHistory) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  // A sample a minute for 60 days, one more used each: 1440 a day. The
  // reader takes its end, which alone holds the last week.
  constexpr int kMinutes = 60 * 1440;
  std::string text;
  for (int m = kMinutes; m >= 1; --m) {
    text += Line(kNow - std::chrono::minutes(m), std::to_string(1000000 + kMinutes - m), "0");
  }
  ASSERT_GT(text.size(), measure::kHistoryReadLimit + 7 * 1440 * 32);
  WriteFile(kHistory, text);
  const std::string used = std::to_string(1000000 + kMinutes);
  const std::string total = std::to_string(1000000 + kMinutes + 1440 * 60 + 720);
  const measure::ForecastResult result = measure::RecordAndForecast(kHistory, kNow, used, total, 7);
  EXPECT_EQ(result.days_until_full, 60);
  EXPECT_THAT(result.read_problem.value_or(""), HasSubstr("only its last lines are read"));
  EXPECT_EQ(result.write_problem, std::nullopt);

  // Bounded, and the last week whole.
  const std::string kept = ReadFile(kHistory);
  EXPECT_LE(kept.size(), measure::kHistoryTextBound);
  const std::vector<measure::HistorySample> samples = measure::ReadHistory(kept).samples;
  const auto week = std::count_if(samples.begin(), samples.end(),
                                  [](const auto& s) { return s.time() >= kNow - 7 * 24h; });
  EXPECT_EQ(week, 7 * 1440 + 1);
  EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end(),
                             [](const auto& a, const auto& b) { return a.time() < b.time(); }));
}

// A history is read line by line where it is in order and within bounds,
// and taken whole where not: both ways must keep the same samples and give
// the same days as the history's own rules do.
TEST(RecordAndForecast, LineByLineAsTakenWhole) {
  std::string steady;
  for (int h = 200; h >= 1; --h) {
    steady += Line(kNow - std::chrono::hours(h), std::to_string(5000 - h * 3), "9000");
  }
  std::string crowded;  // more than the bound, a sample a minute
  for (int m = 40000; m >= 1; --m) {
    crowded += Line(kNow - std::chrono::minutes(m), std::to_string(900000 - m), "990000");
  }
  struct Case {
    const char* what;
    std::string text;
    int days;
  };
  const Case cases[] = {
      {"in order", steady, 7},
      {"one day", steady, 1},
      {"garbage, blank lines, CR LF, no last line end",
       "junk\n\n" + Line(kNow - 30h, "100") + "2024-05-31T01:00:00Z 120 1000\r\n" +
           std::string(300, 'x') + "\n" + Line(kNow - 2h, "130") + "2024-05-31T23:00:00Z 131 1000",
       7},
      {"older than kept, later than now, equal times",
       Line(kNow - 500 * 24h, "1") + Line(kNow - 3h, "200") + Line(kNow - 3h, "210") +
           Line(kNow - 1h, "220") + Line(kNow + 1h, "999"),
       7},
      {"out of order", Line(kNow - 2h, "300") + Line(kNow - 20h, "100") + Line(kNow - 10h, "200"),
       7},
      {"over the bound", crowded, 7},
      {"empty", "", 7},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    WriteFile(kHistory, c.text);
    const measure::HistoryReading reading = measure::ReadHistory(c.text);
    const std::vector<measure::HistorySample> updated = measure::UpdatedHistory(
        reading.samples, *measure::HistorySample::Of(kNow, "230", "1000"), c.days);
    const measure::ForecastResult result =
        measure::RecordAndForecast(kHistory, kNow, "230", "1000", c.days);
    EXPECT_EQ(result.days_until_full, measure::DaysUntilFull(updated, kNow, c.days)) << c.what;
    EXPECT_EQ(ReadFile(kHistory), measure::HistoryText(updated)) << c.what;
    EXPECT_EQ(result.read_problem.has_value(), reading.skipped_lines > 0) << c.what;
    EXPECT_EQ(result.write_problem, std::nullopt) << c.what;
    EXPECT_EQ(Names(), std::vector<std::string>{kHistory}) << c.what;
  }
}

}  // namespace
