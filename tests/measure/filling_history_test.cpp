// The history file's lines, read and written, and what a poll's update
// keeps of the samples.
#include "measure/filling_history.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr sys_seconds kNow{sys_days{2024y / 6 / 1}};

TEST(ReadHistory, LinesThatAreSamplesAndLinesThatAreNot) {
  struct Case {
    const char* what;
    std::string text;
    std::string kept;  // the samples written back
    std::size_t skipped;
  };
  const std::string a = "2024-05-31T23:59:00Z 1234567 9000000\n";
  const std::string b = "2024-02-29T00:00:00Z -123456789012345678901 007\n";
  const std::vector<Case> cases = {
      {"LF line ends", a + b, a + b, 0},
      {"CR LF line ends", "2024-05-31T23:59:00Z 1234567 9000000\r\n", a, 0},
      {"the last line without its line end", a + b.substr(0, b.size() - 1), a + b, 0},
      {"blank lines are no samples", "\n" + a + "\r\n\n", a, 3},
      {"trailing garbage", "2024-05-31T23:59:00Z 1234567 9000000 x\n" + a, a, 1},
      {"a trailing blank", "2024-05-31T23:59:00Z 1234567 9000000 \n", "", 1},
      {"two blanks between fields", "2024-05-31T23:59:00Z  1234567 9000000\n", "", 1},
      {"a tab for a blank", "2024-05-31T23:59:00Z\t1234567 9000000\n", "", 1},
      {"a size missing", "2024-05-31T23:59:00Z 1234567\n2024-05-31T23:59:00Z 1234567 \n", "", 2},
      {"month 13", "2024-13-01T00:00:00Z 1 2\n", "", 1},
      {"Feb 30", "2024-02-30T00:00:00Z 1 2\n", "", 1},
      {"Feb 29 of a common year", "2023-02-29T00:00:00Z 1 2\n", "", 1},
      {"day 0", "2024-05-00T00:00:00Z 1 2\n", "", 1},
      {"hour 24, second 60",
       "2024-05-31T24:00:00Z 1 2\n2024-05-31T23:59:60Z 1 2\n"
       "2024-05-31T23:60:00Z 1 2\n",
       "", 3},
      {"a time not in UTC", "2024-05-31T23:59:00+01:00 1 2\n2024-05-31 23:59:00Z 1 2\n", "", 2},
      {"lower-case t and z", "2024-05-31t23:59:00z 1 2\n", "", 1},
      {"22 digits", "2024-05-31T23:59:00Z 1234567890123456789012 1\n", "", 1},
      {"a plus sign, a lone minus, a minus twice, a decimal point",
       "2024-05-31T23:59:00Z +1 2\n2024-05-31T23:59:00Z - 2\n"
       "2024-05-31T23:59:00Z --1 2\n2024-05-31T23:59:00Z 1.5 2\n",
       "", 4},
      {"NUL bytes",
       std::string("2024-05-31T23:59:00Z 1\0 2\n", 26) + a + std::string("\0\0\0\n", 4) +
           std::string("2024-05-31T23:59:00Z 1 2\0", 25),
       a, 3},
      {"a CR inside a line", "2024-05-31T23:59:00Z 1\r2 3\n", "", 1},
      {"an unfinished line", "2024-05-31T23:5", "", 1},
      {"non-ASCII bytes", "\xEF\xBB\xBF" + a + "\xFF\xFE\n", "", 2},
  };
  for (const Case& c : cases) {
    const measure::HistoryReading reading = measure::ReadHistory(c.text);
    EXPECT_EQ(measure::HistoryText(reading.samples), c.kept) << c.what;
    EXPECT_EQ(reading.skipped_lines, c.skipped) << c.what;
  }
}

TEST(HistorySample, OfTakesOnlyWhatALineCanHold) {
  const std::optional<measure::HistorySample> sample =
      measure::HistorySample::Of(kNow + 23h + 59min + 59s, "-000123456789012345678901", "0");
  EXPECT_FALSE(sample) << "more than 21 digits";
  EXPECT_FALSE(measure::HistorySample::Of(kNow, "1 2", "3"));
  EXPECT_FALSE(measure::HistorySample::Of(kNow, "1", "3\n"));
  EXPECT_FALSE(measure::HistorySample::Of(kNow, "", "3"));
  EXPECT_FALSE(measure::HistorySample::Of(sys_days{10000y / 1 / 1}, "1", "3"));
  EXPECT_FALSE(measure::HistorySample::Of(sys_days{-1y / 12 / 31}, "1", "3"));

  const std::optional<measure::HistorySample> first =
      measure::HistorySample::Of(sys_days{0y / 1 / 1}, "-1", "000000000000000000001");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Line(), "0000-01-01T00:00:00Z -1 000000000000000000001\n");
  EXPECT_EQ(first->used(), -1);
  const std::optional<measure::HistorySample> last =
      measure::HistorySample::Of(sys_days{9999y / 12 / 31} + 86399s, "5", "999999999999999999999");
  ASSERT_TRUE(last);
  EXPECT_EQ(last->Line(), "9999-12-31T23:59:59Z 5 999999999999999999999\n");
  EXPECT_EQ(measure::HistorySample::FromLine("9999-12-31T23:59:59Z 5 999999999999999999999"), last);
}

TEST(UpdatedHistory, WhatAPollKeeps) {
  // Every line below is 27 bytes: "YYYY-MM-DDTHH:MM:SSZ uu 99\n"; a sample
  // is named by its used size.
  struct Entry {
    sys_seconds time;
    const char* used;
  };
  struct Case {
    const char* what;
    std::vector<Entry> history;
    int days;
    std::size_t bound;
    std::vector<std::string> kept;  // with this poll's "99" last
  };
  const sys_seconds d = kNow;
  // Five samples before the last 7 days, three within them.
  const std::vector<Entry> mixed = {
      {d - 12 * 24h, "11"}, {d - 11 * 24h, "12"}, {d - 10 * 24h, "13"}, {d - 9 * 24h, "14"},
      {d - 8 * 24h, "15"},  {d - 3 * 24h, "21"},  {d - 2 * 24h, "22"},  {d - 1 * 24h, "23"}};
  const std::vector<Case> cases = {
      {"a new history", {}, 7, 1 << 20, {"99"}},
      {"400 days kept, not a second more",
       {{d - 400 * 24h - 1s, "10"}, {d - 400 * 24h, "11"}},
       7,
       1 << 20,
       {"11", "99"}},
      {"samples after now dropped, one at now kept",
       {{d - 1s, "11"}, {d + 1s, "12"}, {d, "13"}, {d + 1000 * 24h, "14"}},
       7,
       1 << 20,
       {"11", "13", "99"}},
      {"put in time order, equal times as they came",
       {{d - 2h, "12"}, {d - 3h, "11"}, {d - 1h, "14"}, {d - 2h, "13"}},
       7,
       1 << 20,
       {"11", "12", "13", "14", "99"}},
      {"within the bound, nothing thinned",
       mixed,
       7,
       9 * 27,
       {"11", "12", "13", "14", "15", "21", "22", "23", "99"}},
      {"the older ones thinned once", mixed, 7, 200, {"11", "13", "15", "21", "22", "23", "99"}},
      {"thinned until they fit", mixed, 7, 150, {"11", "21", "22", "23", "99"}},
      {"the last older one dropped", mixed, 7, 120, {"21", "22", "23", "99"}},
      {"the newest days thinned only when they alone exceed the bound", mixed, 7, 60, {"22", "99"}},
      {"a bound below one line keeps this poll", mixed, 7, 0, {"99"}},
      {"a longer span keeps more whole", mixed, 9, 170, {"14", "15", "21", "22", "23", "99"}},
      {"days above 365 are 365",
       {{d - 366 * 24h, "11"}, {d - 364 * 24h, "12"}},
       1000,
       54,
       {"12", "99"}},
      {"days below 1 are 1", {{d - 25h, "11"}, {d - 23h, "12"}}, 0, 60, {"12", "99"}},
  };
  for (const Case& c : cases) {
    std::vector<measure::HistorySample> history;
    for (const Entry& e : c.history) {
      history.push_back(*measure::HistorySample::Of(e.time, e.used, "99"));
    }
    const std::vector<measure::HistorySample> updated = measure::UpdatedHistory(
        history, *measure::HistorySample::Of(d, "99", "99"), c.days, c.bound);
    std::vector<std::string> kept;
    for (const measure::HistorySample& sample : updated) kept.emplace_back(sample.used_text());
    EXPECT_EQ(kept, c.kept) << c.what;
  }
}

}  // namespace
