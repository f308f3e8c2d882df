// A poll's part of the forecast: the history file beside the profile read,
// this poll's sample recorded in it, and the days until full forecast.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "measure/days_until_full.h"
#include "measure/filling_history.h"

namespace measure {

// The most of a history file that is read: its end. A larger file (one
// concatenated by mistake, or hostile) costs a poll no more than this.
inline constexpr std::size_t kHistoryReadLimit = 2 * kHistoryTextBound;

struct ForecastResult {
  int days_until_full = kMostDaysUntilFull;
  // Why the history could not be read, or not all of it: for the trace.
  std::optional<std::string> read_problem;
  // Why this poll's sample could not be recorded: for the trace.
  std::optional<std::string> write_problem;
  // What the monitor is to show where the history could not be read or this
  // poll's sample not recorded (not for lines that are no sample, which the
  // rewrite drops): "PRD.P00.hst not written (access denied)".
  std::optional<std::string> trouble;
};

// Reads the history at `history_path` (its last kHistoryReadLimit bytes at
// most), line by line, never whole, and forecasts from every sample read in
// the span of `days` days before `now` and this poll's (TrendFit). Then the
// file is replaced whole (platform::ReplaceFileWith) by the history's
// samples in their order, kept within kHistoryTextBound (KeptWithinBound),
// with this poll's line last; lines that are no sample go. A sample dated
// after `now` (written by a poll whose clock ran ahead) stays, out of the
// forecast: samples leave the file only by its bound, never because one
// poll's clock disagrees with them.
//
// A missing history starts a new one. A history that cannot be read is left
// as it is; what could not be read or written never costs the forecast,
// which then rests on what was read and this poll. Sizes that no history
// line can hold give kMostDaysUntilFull and leave the file alone. New files
// that polls ended while writing left beside the history go.
ForecastResult RecordAndForecast(std::string_view history_path, std::chrono::sys_seconds now,
                                 std::string_view used, std::string_view total, int days);

}  // namespace measure
