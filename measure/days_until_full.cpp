#include "measure/days_until_full.h"

#include <algorithm>
#include <cmath>

namespace measure {
namespace {

using std::chrono::sys_seconds;

constexpr long double kSecondsPerDay = 86400;

}  // namespace

TrendFit::TrendFit(sys_seconds now, int days) {
  const std::chrono::days span{std::clamp(days, kFewestForecastDays, kMostForecastDays)};
  // Any `now` will do: the span is not taken below the earliest time there is.
  const sys_seconds window_start =
      now < sys_seconds::min() + span ? sys_seconds::min() : now - span;
  from_ = window_start.time_since_epoch().count();
  to_ = now.time_since_epoch().count();
}

bool TrendFit::Takes(sys_seconds time) const {
  const std::int64_t seconds = time.time_since_epoch().count();
  return seconds >= from_ && seconds <= to_;
}

void TrendFit::Add(const HistorySample& sample) {
  if (!Takes(sample.time())) return;
  const std::int64_t time = sample.time().time_since_epoch().count();
  if (count_ == 0) {
    origin_time_ = time;
    origin_used_ = sample.used();
    first_ = time;
  }
  if (count_ == 0 || time >= newest_) {
    newest_ = time;
    newest_used_ = sample.used();
    newest_total_ = sample.total();
  }
  first_ = std::min(first_, time);
  ++count_;
  // Within the span of a year: exact in a long double.
  const auto t = static_cast<long double>(time - origin_time_);
  const long double used = sample.used() - origin_used_;
  time_sum_ += t;
  used_sum_ += used;
  time_squares_ += t * t;
  products_ += t * used;
}

int TrendFit::DaysUntilFull() const {
  if (count_ > 0 && newest_used_ >= newest_total_) return 0;
  if (count_ < 2 || newest_ - first_ < 3600) return kMostDaysUntilFull;
  const auto n = static_cast<long double>(count_);
  const long double spread = time_squares_ - time_sum_ * time_sum_ / n;
  // The times differ by an hour at least: a spread of 0 only by rounding.
  if (!(spread > 0)) return kMostDaysUntilFull;
  const long double slope = (products_ - time_sum_ * used_sum_ / n) / spread * kSecondsPerDay;
  if (!(slope > 0)) return kMostDaysUntilFull;
  const long double left = (newest_total_ - newest_used_) / slope;
  if (!(left < kMostDaysUntilFull)) return kMostDaysUntilFull;
  if (left <= 0) return 0;
  return static_cast<int>(std::floor(left));
}

int DaysUntilFull(std::span<const HistorySample> samples, sys_seconds now, int days) {
  TrendFit fit(now, days);
  for (const HistorySample& sample : samples) fit.Add(sample);
  return fit.DaysUntilFull();
}

}  // namespace measure
