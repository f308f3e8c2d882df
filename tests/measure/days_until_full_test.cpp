// The forecast's arithmetic: histories and the days they leave.
#include "measure/days_until_full.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "measure/filling_history.h"

namespace {

using namespace std::chrono_literals;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr sys_seconds kNow{sys_days{2024y / 6 / 1}};

struct Entry {
  std::chrono::seconds before_now;
  std::string used;
  std::string total = "1000";
};

// 10^20 + `small` as text: sizes of 21 digits.
std::string Huge(long long small) {
  const std::string digits = std::to_string(small);
  return "1" + std::string(20 - digits.size(), '0') + digits;
}

TEST(DaysUntilFull, HistoriesAndTheDaysTheyLeave) {
  struct Case {
    const char* what;
    std::vector<Entry> history;  // this poll's at 0s, the newest not later than now
    int days;
    int expected;
  };
  // A sample a minute for a week short of a minute, 1000 more each minute,
  // at the size of 10^20: 1,440,000 a day with 144,720,000 left.
  std::vector<Entry> minutes;
  for (long long i = 0; i < 10000; ++i) {
    minutes.push_back({std::chrono::minutes(9999 - i), Huge(1000 * i), Huge(9999000 + 144720000)});
  }
  const std::vector<Case> cases = {
      {"this poll alone", {{0s, "100"}}, 7, 3650},
      {"less than an hour between first and last", {{59min + 59s, "100"}, {0s, "200"}}, 7, 3650},
      {"an hour between first and last", {{1h, "100"}, {0s, "101"}}, 7, 37},  // 899 / 24
      {"steady growth", {{48h, "100"}, {24h, "110"}, {0s, "120"}}, 7, 88},
      {"least squares, not the end points",
       {{72h, "0"}, {48h, "40"}, {24h, "20"}, {0s, "30", "101"}},
       7,
       10},  // 7 a day, where the end points would say 10 a day and 7 days
      {"rounded down", {{24h, "0"}, {0s, "3"}}, 7, 332},  // 332.33
      {"no growth", {{24h, "100"}, {0s, "100"}}, 7, 3650},
      {"shrinking", {{24h, "100"}, {0s, "90"}}, 7, 3650},
      {"full", {{24h, "900"}, {0s, "1000"}}, 7, 0},
      {"beyond full", {{24h, "1000"}, {0s, "1100"}}, 7, 0},
      {"full and flat", {{48h, "1000"}, {24h, "1000"}, {0s, "1000"}}, 7, 0},
      {"full, this poll alone", {{0s, "1000"}}, 7, 0},
      {"full after shrinking", {{24h, "2000", "2000"}, {0s, "1000"}}, 7, 0},
      {"farther than 3650 days", {{24h, "0"}, {0s, "1", "10000"}}, 7, 3650},
      {"just within 3650 days", {{24h, "0"}, {0s, "1", "3650"}}, 7, 3649},
      {"only the last days count", {{8 * 24h, "0"}, {24h, "500"}, {0s, "510"}}, 7, 49},
      {"a sample at the span's start counts", {{8 * 24h, "0"}, {24h, "500"}, {0s, "510"}}, 8, 7},
      {"days held within 1 to 365", {{48h, "0"}, {24h, "500"}, {0s, "510"}}, 0, 49},
      {"samples later than now left out", {{24h, "0"}, {0s, "10"}, {-24h, "20", "20"}}, 7, 99},
      {"total and used are this poll's", {{24h, "0", "5"}, {0s, "10"}}, 7, 99},
      {"the newest of equal times is this poll's",
       {{24h, "0"}, {0s, "0"}, {0s, "11"}},
       7,
       179},  // 5.5 a day, 989 left
      {"negative sizes", {{24h, "-20"}, {0s, "-10", "0"}}, 7, 1},
      {"21 digits", {{24h, Huge(0)}, {0s, Huge(1000), Huge(100500)}}, 7, 99},
      {"10,000 samples of 21 digits that change little", minutes, 7, 100},
  };
  for (const Case& c : cases) {
    std::vector<measure::HistorySample> history;
    for (const Entry& e : c.history) {
      const std::optional<measure::HistorySample> sample =
          measure::HistorySample::Of(kNow - e.before_now, e.used, e.total);
      ASSERT_TRUE(sample) << c.what;
      history.push_back(*sample);
    }
    EXPECT_EQ(measure::DaysUntilFull(history, kNow, c.days), c.expected) << c.what;
  }
}

}  // namespace
