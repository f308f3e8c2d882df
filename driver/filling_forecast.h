// The forecast's part of a poll: this poll's sample into the system's
// history, the days until full out of it.
#pragma once

#include <string>

#include "measure/history_file.h"
#include "rfc/filling_row.h"
#include "rfc/sap_library.h"

namespace driver {

// The history of the system whose profile is `profile_path`: the profile's
// path with the history's suffix.
std::string HistoryPathOf(const std::string& profile_path);

// Records `row`'s used and total size at this moment in the history at
// `history_path` and forecasts from the samples of the last `days` days.
// A history that cannot be read or written costs nothing but its part of
// the forecast; the trace says why, and the result's trouble what the
// monitor is to show of it.
measure::ForecastResult ForecastDaysUntilFull(const std::string& history_path,
                                              const rfc::FillingRow& row, int days,
                                              const rfc::TraceWriter& trace);

}  // namespace driver
