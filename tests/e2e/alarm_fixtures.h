// What "LIMITS=" and "FORECAST" add to a run's output, and the histories a
// forecast reads.
#pragma once

#include <string>

namespace e2e {

// PRTG's limit elements as they follow a channel's value: the used area's
// per cents with upper levels, the free area's with lower ones (the free
// per cents given), the days until full with PRTG's 30 and 7 days.
std::string UsedAreaLimitElements(int warning, int error);
std::string FreeAreaLimitElements(int warning, int error);
std::string DaysUntilFullLimitElements();

// A history as the sensor writes it: a sample an hour over the `days` days
// before a moment `hours_before_now` hours ago, the newest an hour before
// it, of a data area of `total` pages whose used pages grew `per_day` a
// day to reach `used` at that moment. A poll now that reads `used` (with
// `hours_before_now` 0) lies on that line, so that the days until full are
// (total - used) / per_day however long after the call the poll comes.
std::string GrowingHistory(long long used, long long total, long long per_day, int days,
                           int hours_before_now = 0);

}  // namespace e2e
