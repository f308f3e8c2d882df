// A poll's part of the forecast on a real history file: what it keeps from
// poll to poll, and what it makes of a history it cannot read or write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "measure/filling_history.h"
#include "measure/history_file.h"
#include "platform/atomic_file.h"
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
// later poll removes it once it is an hour old, never one being written,
// nor a file of another name that only begins alike.
TEST(RecordAndForecast, NewFilesOfEndedPollsGoOnceOld) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  const std::vector<std::string> others = {"PRD.P00.hst.new",        "PRD.P00.hst.new-backup",
                                           "PRD.P00.hst.new4711",    "PRD.P00.hst.new47-11x",
                                           "PRD.P00.hst.new-4711-0", "QAS.P00.hst.new4713-0"};
  WriteFile("PRD.P00.hst.new4711-0", "2024-05-31T00:00:00Z 1");
  WriteFile("PRD.P00.hst.new4712-0", "2024-05-31T23:00:00Z 12");
  const auto old = std::filesystem::file_time_type::clock::now() - 2h;
  std::filesystem::last_write_time("PRD.P00.hst.new4711-0", old);
  for (const std::string& other : others) {
    WriteFile(other, "mine");
    std::filesystem::last_write_time(other, old);
  }
  const measure::ForecastResult result = measure::RecordAndForecast(kHistory, kNow, "1", "10", 7);
  EXPECT_EQ(result.write_problem, std::nullopt);
  std::vector<std::string> left = others;
  left.push_back(kHistory);
  left.push_back("PRD.P00.hst.new4712-0");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(Names(), left);

  // Every poll looks for them, not only the first of an hour.
  WriteFile("PRD.P00.hst.new4714-12", "");
  std::filesystem::last_write_time("PRD.P00.hst.new4714-12", old);
  (void)measure::RecordAndForecast(kHistory, kNow + 1min, "2", "10", 7);
  EXPECT_FALSE(std::filesystem::exists("PRD.P00.hst.new4714-12"));
}

// A poll whose clock is wrong records its sample at the wrong time, and
// costs the history nothing else: samples dated after a poll stay in the
// file, out of its forecast, and a later poll at the right time forecasts
// from the month before as if the wrong one had not been.
TEST(RecordAndForecast, AWrongClockLosesNoSample) {
  std::string month;
  for (int day = 30; day >= 1; --day) {
    month += Line(kNow - std::chrono::days(day), std::to_string(10000 - day * 100), "20000");
  }
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());

  // Six samples dated four years ahead, then a poll at the right time.
  std::string ahead;
  for (int day = 1; day <= 6; ++day) {
    ahead += Line(kNow + std::chrono::days(4 * 365 + day), "1", "20000");
  }
  WriteFile(kHistory, month + ahead);
  const measure::ForecastResult now =
      measure::RecordAndForecast(kHistory, kNow, "10000", "20000", 7);
  EXPECT_EQ(now.days_until_full, 100);
  EXPECT_EQ(ReadFile(kHistory), month + ahead + Line(kNow, "10000", "20000"));

  // A poll booted with a dead clock, then one years ahead, then the right
  // time again.
  WriteFile(kHistory, month);
  (void)measure::RecordAndForecast(kHistory, sys_days{2000y / 1 / 1}, "10000", "20000", 7);
  (void)measure::RecordAndForecast(kHistory, kNow + 3 * 365 * 24h, "10000", "20000", 7);
  const measure::ForecastResult later =
      measure::RecordAndForecast(kHistory, kNow, "10000", "20000", 7);
  EXPECT_EQ(later.days_until_full, 100);
  EXPECT_EQ(ReadFile(kHistory), month + Line(sys_days{2000y / 1 / 1}, "10000", "20000") +
                                    Line(kNow + 3 * 365 * 24h, "10000", "20000") +
                                    Line(kNow, "10000", "20000"));
}

TEST(RecordAndForecast, WhatCannotBeReadOrWrittenCostsNoForecast) {
  const std::string two_days = Line(kNow - 48h, "100") + Line(kNow - 24h, "110");
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::string path;
    std::string used;
    int days;
    std::string read_problem;                           // a part of it; empty: none
    std::string write_problem;                          // a part of it; empty: none
    std::string left;                                   // the history afterwards
    std::optional<std::string> trouble = std::nullopt;  // what the monitor shows
  };
  const std::vector<Case> cases = {
      {"a directory", [] { std::filesystem::create_directory(kHistory); }, kHistory, "120", 3650,
       "PRD.P00.hst is a directory", "PRD.P00.hst is left as it is", "",
       "PRD.P00.hst not read (a directory)"},
      {"a read-only history",
       [&] {
         WriteFile(kHistory, two_days);
         MakeReadOnly(kHistory, true);
       },
       kHistory, "120", 88, "", "PRD.P00.hst is read-only", two_days,
       "PRD.P00.hst not written (read-only)"},
      {"a directory on the way missing", [] {}, "missing\\PRD.P00.hst", "120", 3650, "",
       "cannot create missing\\PRD.P00.hst.new", "", "PRD.P00.hst not written (directory missing)"},
      // Lines that are no sample cost nothing the rewrite does not mend.
      {"lines that are no samples",
       [&] { WriteFile(kHistory, "PRD\n" + two_days + "2024-05-31T12:00:00Z 115\n"); }, kHistory,
       "120", 88, "PRD.P00.hst: 2 lines are no sample and left out", "",
       two_days + Line(kNow, "120")},
      {"a size no line holds", [&] { WriteFile(kHistory, two_days); }, kHistory, "12a", 3650, "",
       "no sample recorded in PRD.P00.hst", two_days,
       "PRD.P00.hst not written (sizes not recordable)"},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    c.prepare();
    const measure::ForecastResult result =
        measure::RecordAndForecast(c.path, kNow, c.used, "1000", 7);
    EXPECT_EQ(result.days_until_full, c.days) << c.what;
    EXPECT_EQ(result.trouble, c.trouble) << c.what;
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

// Polls of one profile overlap (a single sensor and a listing share the
// history), and a viewer may hold the file open. On Windows a file open
// elsewhere cannot be replaced; both let go within moments, and the
// replacement waits for that rather than losing the sample.
TEST(RecordAndForecast, AFileOpenElsewhereForAMomentIsReplacedAllTheSame) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  std::string expected = Line(kNow - 48h, "100") + Line(kNow - 24h, "110");
  WriteFile(kHistory, expected);
  const std::vector<std::function<std::function<void()>()>> holders = {
      [] {  // another poll reading it
        auto tail = std::make_shared<std::variant<platform::FileTail, platform::FileFailure>>(
            platform::OpenFileTail(kHistory, measure::kHistoryReadLimit));
        EXPECT_TRUE(std::holds_alternative<platform::FileTail>(*tail));
        return [tail] { *tail = platform::FileTail{}; };
      },
      [] {  // a viewer that shares nothing but reading
        auto viewer = std::make_shared<std::ifstream>(kHistory, std::ios::binary);
        EXPECT_TRUE(viewer->is_open());
        return [viewer] { viewer->close(); };
      },
  };
  int poll = 0;
  for (const auto& hold : holders) {
    const std::function<void()> let_go = hold();
    std::thread lets_go([&] {
      std::this_thread::sleep_for(100ms);
      let_go();
    });
    const std::string used = std::to_string(120 + poll);
    const measure::ForecastResult result =
        measure::RecordAndForecast(kHistory, kNow + std::chrono::hours(poll), used, "1000", 7);
    lets_go.join();
    EXPECT_EQ(result.write_problem, std::nullopt) << poll;
    expected += Line(kNow + std::chrono::hours(poll), used);
    EXPECT_EQ(ReadFile(kHistory), expected) << poll;
    ++poll;
  }
  EXPECT_EQ(Names(), std::vector<std::string>{kHistory});
}

// A viewer that holds the history open all through the poll keeps Windows
// from replacing it: the monitor is told so, and the file stays as it was.
// Elsewhere an open file never keeps a rename from going through.
TEST(RecordAndForecast, AFileHeldOpenElsewhereIsToldOf) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  const std::string two_days = Line(kNow - 48h, "100") + Line(kNow - 24h, "110");
  WriteFile(kHistory, two_days);
  measure::ForecastResult result;
  {
    std::ifstream viewer(kHistory, std::ios::binary);
    ASSERT_TRUE(viewer.is_open());
    result = measure::RecordAndForecast(kHistory, kNow, "120", "1000", 7);
  }
  EXPECT_EQ(result.days_until_full, 88);
#ifdef _WIN32
  EXPECT_EQ(result.trouble, "PRD.P00.hst not written (locked by another program)");
  EXPECT_EQ(ReadFile(kHistory), two_days);
#else
  EXPECT_EQ(result.trouble, std::nullopt);
  EXPECT_EQ(ReadFile(kHistory), two_days + Line(kNow, "120"));
#endif
}

// A history of gigabytes (files put together by mistake, or hostile) is
// read no further than its last kHistoryReadLimit bytes, and rewritten
// within its bound, so that the next poll is quick again.
TEST(RecordAndForecast, AHugeHistoryIsReadOnlyAtItsEnd) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  std::string week;
  for (int hour = 7 * 24; hour >= 1; --hour) {
    week += Line(kNow - std::chrono::hours(hour), std::to_string(5000 - hour), "5180");
  }
  // Beyond what 32 bits of position count, without taking the disk: the
  // gigabytes are a hole of NUL bytes.
  constexpr std::uintmax_t kHuge = std::uintmax_t{5} * 1024 * 1024 * 1024;
  WriteFile(kHistory, "");
  std::filesystem::resize_file(kHistory, kHuge);
  {
    std::ofstream end(kHistory, std::ios::binary | std::ios::app);
    end << "\n" << week;
  }
  const measure::ForecastResult result =
      measure::RecordAndForecast(kHistory, kNow, "5000", "5180", 7);
  EXPECT_EQ(result.days_until_full, 7);
  EXPECT_THAT(result.read_problem.value_or(""), HasSubstr("only its last lines are read"));
  EXPECT_EQ(result.write_problem, std::nullopt);
  const std::string kept = ReadFile(kHistory);
  EXPECT_LE(kept.size(), measure::kHistoryTextBound);
  EXPECT_EQ(kept, week + Line(kNow, "5000", "5180"));
}

}  // namespace
