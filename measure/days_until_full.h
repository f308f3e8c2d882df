// "Days Until Full": how many days the data area lasts at the pace its used
// size grew over the last days, from the history of the filling.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "measure/filling_history.h"

namespace measure {

// The answer when the data area does not fill up in sight.
inline constexpr int kMostDaysUntilFull = 3650;
// The most of a history file that is read: its end.
inline constexpr std::size_t kHistoryReadLimit = 2 * kHistoryTextBound;

// The days until this poll's used size reaches its total size: the
// least-squares slope of the used size over time across the samples of the
// `days` days before `now` (those later than `now` are left out), with the
// used and total size of the newest of them (this poll's). Rounded down and
// held within 0 and kMostDaysUntilFull, which it is as well when fewer
// than two samples lie in that span, less than an hour lies between the
// first and the last of them, or the used size does not grow. `days` is
// held within kFewestForecastDays and kMostForecastDays.
int DaysUntilFull(std::span<const HistorySample> samples, std::chrono::sys_seconds now, int days);

struct ForecastResult {
  int days_until_full = kMostDaysUntilFull;
  // Why the history could not be read, or not all of it: for the trace.
  std::optional<std::string> read_problem;
  // Why this poll's sample could not be recorded: for the trace.
  std::optional<std::string> write_problem;
};

// A poll's part of the forecast: reads the history at `history_path`,
// records this poll's sample in it (UpdatedHistory; the file is replaced
// whole, see platform::ReplaceFile) and forecasts from the updated history.
// A missing history starts a new one. A history that cannot be read is
// left as it is; what could not be read or written never costs the
// forecast, which then rests on what was read and this poll. Sizes that no
// history line can hold give kMostDaysUntilFull and leave the file alone.
ForecastResult RecordAndForecast(std::string_view history_path, std::chrono::sys_seconds now,
                                 std::string_view used, std::string_view total, int days);

}  // namespace measure
