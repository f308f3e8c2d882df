// The history file's lines, read and written, and what a poll's update
// keeps of the samples within the file's bound.
#include "measure/filling_history.h"

#include "measure/history_bound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr sys_seconds kNow{sys_days{2024y / 6 / 1}};

// `text` (ASCII) as an editor saves it in UTF-16 with a byte-order mark.
std::string Utf16(std::string_view text, bool big_endian) {
  std::string saved = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : text) {
    saved += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return saved;
}

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
      {"non-ASCII bytes", a + "\xFF\xFE\n" + "\xEF\xBB\xBF" + a, a, 2},
      {"saved as UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + a + b, a + b, 0},
      {"saved as UTF-16 with a byte-order mark", Utf16(a + "x\r\n" + b, false), a + b, 1},
      {"saved as UTF-16 big-endian", Utf16(a + b.substr(0, b.size() - 1), true), a + b, 0},
      {"UTF-16 with a character beyond ASCII and half a unit at the end",
       Utf16(a, false) +
           std::string("2\0"
                       "0\x01",
                       4) +
           "\x32",
       a, 1},
      {"a byte-order mark cut short", "\xEF\xBB", "", 1},
  };
  for (const Case& c : cases) {
    const measure::HistoryReading reading = measure::ReadHistory(c.text);
    EXPECT_EQ(measure::HistoryText(reading.samples), c.kept) << c.what;
    EXPECT_EQ(reading.skipped_lines, c.skipped) << c.what;

    // Fed a byte at a time, as a file's chunks may cut it anywhere.
    std::string samples;
    std::size_t skipped = 0;
    measure::HistoryLines lines([&](std::string_view line) {
      if (const auto sample = measure::HistorySample::FromLine(line)) {
        samples += sample->Line();
      } else {
        ++skipped;
      }
    });
    for (const char byte : c.text) lines.Feed(std::string_view(&byte, 1));
    lines.End();
    EXPECT_EQ(samples, c.kept) << c.what << ", a byte at a time";
    EXPECT_EQ(skipped, c.skipped) << c.what << ", a byte at a time";
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

TEST(KeptWithinBound, WhatAPollKeeps) {
  // Every line 27 bytes, this poll's too; "o" a sample outside the span,
  // "s" one within it; "+" kept, "-" not.
  struct Case {
    const char* what;
    std::string history;
    std::size_t bound;
    std::string kept;
  };
  const std::vector<Case> cases = {
      {"a new history", "", 27, ""},
      {"within the bound, nothing thinned", "ooooosss", 9 * 27, "++++++++"},
      {"outside the span thinned once", "ooooosss", 200, "-+-+-+++"},
      {"thinned until they fit", "ooooosss", 150, "---+-+++"},
      {"the last outside the span dropped", "ooooosss", 120, "-----+++"},
      {"samples after the poll's time are outside, wherever they stand", "sosos", 4 * 27, "+-+-+"},
      {"the span thinned only when it alone exceeds the bound, back from the poll", "ooooosss", 60,
       "------+-"},
      {"the span thinned twice", "sssssss", 3 * 27, "---+---"},
      {"a bound below one line keeps the poll alone", "ooooosss", 0, "--------"},
  };
  for (const Case& c : cases) {
    std::vector<measure::SampleLine> samples;
    for (const char kind : c.history) samples.push_back({27, kind == 's'});
    const std::vector<bool> kept = measure::KeptWithinBound(samples, 27, c.bound);
    std::string shown;
    for (const bool k : kept) shown += k ? '+' : '-';
    EXPECT_EQ(shown, c.kept) << c.what;
  }
}

}  // namespace
