#include "measure/days_until_full.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "platform/atomic_file.h"

namespace measure {
namespace {

using std::chrono::sys_seconds;

constexpr long double kSecondsPerDay = 86400;

}  // namespace

int DaysUntilFull(std::span<const HistorySample> samples, sys_seconds now, int days) {
  const std::chrono::days span{std::clamp(days, kFewestForecastDays, kMostForecastDays)};
  // Any `now` will do: the span is not taken below the earliest time there is.
  const sys_seconds window_start =
      now < sys_seconds::min() + span ? sys_seconds::min() : now - span;
  // The window in plain seconds, and each sample's time as seconds after
  // `now` (at most 0) when it lies within.
  const std::int64_t from = window_start.time_since_epoch().count();
  const std::int64_t to = now.time_since_epoch().count();
  const auto offset = [&](const HistorySample& sample) -> std::optional<long double> {
    const std::int64_t time = sample.time().time_since_epoch().count();
    if (time < from || time > to) return std::nullopt;
    return static_cast<long double>(time - to);
  };

  // First the means, then the sums about them: times and sizes centred
  // before they are multiplied keep the sums exact enough for many samples
  // of large sizes that change little.
  std::size_t count = 0;
  long double time_sum = 0;
  long double used_sum = 0;
  long double first = 0;
  const HistorySample* newest = nullptr;
  long double newest_time = 0;
  for (const HistorySample& sample : samples) {
    const std::optional<long double> time = offset(sample);
    if (!time) continue;
    if (count == 0 || *time < first) first = *time;
    if (newest == nullptr || *time >= newest_time) {
      newest = &sample;
      newest_time = *time;
    }
    ++count;
    time_sum += *time;
    used_sum += sample.used();
  }
  if (count < 2 || newest_time - first < 3600) return kMostDaysUntilFull;
  const long double time_mean = time_sum / static_cast<long double>(count);
  const long double used_mean = used_sum / static_cast<long double>(count);
  long double time_squares = 0;
  long double products = 0;
  for (const HistorySample& sample : samples) {
    const std::optional<long double> time = offset(sample);
    if (!time) continue;
    const long double centred = *time - time_mean;
    time_squares += centred * centred;
    products += centred * (sample.used() - used_mean);
  }
  // The times differ by an hour at least: no division by 0.
  const long double slope = products / time_squares * kSecondsPerDay;
  if (!(slope > 0)) return kMostDaysUntilFull;
  const long double left = (newest->total() - newest->used()) / slope;
  if (!(left < kMostDaysUntilFull)) return kMostDaysUntilFull;
  if (left <= 0) return 0;
  return static_cast<int>(std::floor(left));
}

ForecastResult RecordAndForecast(std::string_view history_path, sys_seconds now,
                                 std::string_view used, std::string_view total, int days) {
  const std::string path(history_path);
  ForecastResult result;
  std::vector<HistorySample> samples;
  std::variant<platform::FileEnd, platform::FileFailure> read =
      platform::ReadFileEnd(history_path, kHistoryReadLimit);
  const auto* failure = std::get_if<platform::FileFailure>(&read);
  if (failure != nullptr) {
    result.read_problem = failure->reason;
  } else {
    const platform::FileEnd& end = std::get<platform::FileEnd>(read);
    HistoryReading reading = ReadHistory(end.text);
    samples = std::move(reading.samples);
    std::string problem;
    if (end.cut) {
      problem = path + " holds more than " + std::to_string(kHistoryReadLimit) +
                " bytes: only its last lines are read";
    }
    if (reading.skipped_lines > 0) {
      problem += problem.empty() ? path + ": " : "; ";
      problem += std::to_string(reading.skipped_lines) +
                 (reading.skipped_lines == 1 ? " line is" : " lines are") +
                 " no sample and left out";
    }
    if (!problem.empty()) result.read_problem = std::move(problem);
  }

  const std::optional<HistorySample> sample = HistorySample::Of(now, used, total);
  if (!sample) {
    result.write_problem = "no sample recorded in " + path + ": the time or a size (\"" +
                           std::string(used) + "\", \"" + std::string(total) +
                           "\") cannot be written as a history line";
    return result;
  }
  const std::vector<HistorySample> updated = UpdatedHistory(std::move(samples), *sample, days);
  result.days_until_full = DaysUntilFull(updated, now, days);
  if (failure != nullptr) {
    // What could not be read would be lost with the rewrite.
    result.write_problem = path + " is left as it is: it cannot be read";
  } else if (std::optional<platform::FileFailure> not_written =
                 platform::ReplaceFile(history_path, HistoryText(updated))) {
    result.write_problem = std::move(not_written->reason);
  }
  return result;
}

}  // namespace measure
