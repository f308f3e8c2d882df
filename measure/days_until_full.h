// "Days Until Full": how many days the data area lasts at the pace its used
// size grew over the last days, from the history of the filling.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "measure/filling_history.h"

namespace measure {

// The answer when the data area does not fill up in sight.
inline constexpr int kMostDaysUntilFull = 3650;

// The least-squares fit of the used size over the times of the samples in
// the `days` days before `now`, built one sample at a time in any order.
// Times and sizes are taken relative to the first sample added: sums of
// those differences stay exact enough for many samples of large sizes that
// change little, where sums of the sizes themselves would not.
class TrendFit {
 public:
  // `days` is held within kFewestForecastDays and kMostForecastDays.
  TrendFit(std::chrono::sys_seconds now, int days);

  // Whether a sample of this time lies within the span: not before its
  // start, not after `now`.
  bool Takes(std::chrono::sys_seconds time) const;
  // Adds a sample, where the span takes it.
  void Add(const HistorySample& sample);

  // The days until the used size of the newest sample (the last added of
  // the newest time) reaches its total size at the fitted pace, rounded
  // down and held within 0 and kMostDaysUntilFull. 0 where that sample is
  // full already, whatever the pace; kMostDaysUntilFull where fewer than
  // two samples lie in the span, less than an hour lies between the first
  // and the last of them, or the used size does not grow.
  int DaysUntilFull() const;

 private:
  std::int64_t from_ = 0;
  std::int64_t to_ = 0;
  std::size_t count_ = 0;
  std::int64_t origin_time_ = 0;
  long double origin_used_ = 0;
  std::int64_t first_ = 0;
  std::int64_t newest_ = 0;
  long double newest_used_ = 0;
  long double newest_total_ = 0;
  long double time_sum_ = 0;
  long double used_sum_ = 0;
  long double time_squares_ = 0;
  long double products_ = 0;
};

// TrendFit over `samples`.
int DaysUntilFull(std::span<const HistorySample> samples, std::chrono::sys_seconds now, int days);

}  // namespace measure
