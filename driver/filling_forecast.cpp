#include "driver/filling_forecast.h"

#include <chrono>

#include "config/file_names.h"
#include "measure/history_file.h"
#include "rfc/trace_line.h"

namespace driver {

namespace {

constexpr std::string_view kHistoryNotRead = "filling history not read";
constexpr std::string_view kHistoryNotWritten = "filling history not written";

}  // namespace

std::string HistoryPathOf(const std::string& profile_path) {
  return profile_path + std::string(config::file_names::kHistorySuffix);
}

measure::ForecastResult ForecastDaysUntilFull(const std::string& history_path,
                                              const rfc::FillingRow& row, int days,
                                              const rfc::TraceWriter& trace) {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  measure::ForecastResult forecast =
      measure::RecordAndForecast(history_path, now, row.used.raw, row.total.raw, days);
  if (forecast.read_problem) rfc::WriteTraceLine(trace, 0, kHistoryNotRead, *forecast.read_problem);
  if (forecast.write_problem) {
    rfc::WriteTraceLine(trace, 0, kHistoryNotWritten, *forecast.write_problem);
  }
  return forecast;
}

}  // namespace driver
