#include "measure/days_until_full.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/files.h"

namespace measure {
namespace {

using std::chrono::sys_seconds;

constexpr long double kSecondsPerDay = 86400;
// The bytes read from a history at one go.
constexpr std::size_t kReadChunk = std::size_t{16} * 1024;

// The least-squares fit of the used size over the times of the samples in
// the `days` days before `now`, in one pass over them. Times and sizes are
// taken relative to the first sample added: sums of those differences stay
// exact enough for many samples of large sizes that change little, where
// sums of the sizes themselves would not.
class TrendFit {
 public:
  TrendFit(sys_seconds now, int days) {
    const std::chrono::days span{std::clamp(days, kFewestForecastDays, kMostForecastDays)};
    // Any `now` will do: the span is not taken below the earliest time there is.
    const sys_seconds window_start =
        now < sys_seconds::min() + span ? sys_seconds::min() : now - span;
    from_ = window_start.time_since_epoch().count();
    to_ = now.time_since_epoch().count();
  }

  // Whether a sample of this time lies within the span.
  bool Takes(sys_seconds time) const {
    const std::int64_t seconds = time.time_since_epoch().count();
    return seconds >= from_ && seconds <= to_;
  }

  void Add(const HistorySample& sample) {
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

  int DaysUntilFull() const {
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

// What a pass over a history's lines saw besides its samples.
struct LinesSeen {
  std::size_t skipped = 0;  // lines that are no sample
  std::size_t bytes = 0;    // read in all
  // Every line ended by a line feed alone: the text is what HistoryText
  // would write for the same samples.
  bool plain = true;
};

// Calls `each` with the line (without its line end) and the time of every
// sample of `file` from where it stands, by the rules of ReadHistory,
// holding one line at a time. False when reading fails.
bool ForEachSampleIn(std::FILE* file, LinesSeen& seen,
                     const std::function<void(std::string_view, sys_seconds)>& each) {
  constexpr std::size_t kKeptOfLine = HistorySample::kLongestLine + 2;
  std::vector<char> chunk(kReadChunk);
  // The start of a line that a chunk cut: no more of it than a sample's
  // line and its CR, and one more character to tell a longer line.
  std::string carried;
  carried.reserve(kKeptOfLine);
  SampleTimes times;
  const auto take = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      seen.plain = false;
    }
    if (std::optional<sys_seconds> time = times.Of(line)) {
      each(line, *time);
    } else {
      ++seen.skipped;
    }
  };
  const auto carry = [&](std::string_view part) {
    carried.append(part.substr(0, kKeptOfLine - std::min(carried.size(), kKeptOfLine)));
  };
  while (true) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
    seen.bytes += got;
    std::string_view rest(chunk.data(), got);
    for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
      if (carried.empty()) {
        take(rest.substr(0, end));
      } else {
        carry(rest.substr(0, end));
        take(carried);
        carried.clear();
      }
      rest.remove_prefix(end + 1);
    }
    carry(rest);
    if (got < chunk.size()) break;
  }
  if (std::ferror(file) != 0) return false;
  if (!carried.empty()) {
    seen.plain = false;
    take(carried);
  }
  return true;
}

// Copies what is left of `from` to `to`; false when reading fails.
bool CopyRest(std::FILE* from, std::FILE* to) {
  std::vector<char> chunk(kReadChunk);
  while (true) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
    (void)std::fwrite(chunk.data(), 1, got, to);
    if (got < chunk.size()) return std::ferror(from) == 0;
  }
}

// The read problem of lines that are no sample, as the trace shows it.
std::optional<std::string> SkippedLinesProblem(const std::string& path, std::size_t skipped,
                                               bool cut) {
  std::string problem;
  if (cut) {
    problem = path + " holds more than " + std::to_string(kHistoryReadLimit) +
              " bytes: only its last lines are read";
  }
  if (skipped > 0) {
    problem += problem.empty() ? path + ": " : "; ";
    problem += std::to_string(skipped) + (skipped == 1 ? " line is" : " lines are") +
               " no sample and left out";
  }
  if (problem.empty()) return std::nullopt;
  return problem;
}

// A poll over a history in time order that stays within its bounds, as
// every history this sensor writes is: read from the file line by line,
// never held whole, so that a long history costs the poll no memory. A
// history that is all samples, as this sensor writes it, is copied as it
// is; another one sample by sample. Nothing when the history is not such a
// one (or cannot be opened): the caller then takes it whole.
std::optional<ForecastResult> RecordAndForecastInPassing(std::string_view history_path,
                                                         const HistorySample& poll, int days) {
  const std::string path(history_path);
  const sys_seconds now = poll.time();
  const sys_seconds oldest_kept = now - kHistoryKept;
  const auto kept = [&](sys_seconds time) { return time <= now && time >= oldest_kept; };

  TrendFit fit(now, days);
  LinesSeen seen;
  std::size_t length = poll.LineLength();
  bool all_kept = true;
  bool in_order = true;
  std::optional<sys_seconds> latest;
  {
    const platform::UniqueFile file = platform::OpenForReading(history_path);
    if (file == nullptr ||
        !ForEachSampleIn(file.get(), seen, [&](std::string_view line, sys_seconds time) {
          if (!kept(time)) {
            all_kept = false;
            return;
          }
          in_order = in_order && (!latest || *latest <= time);
          latest = time;
          length += line.size() + 1;
          // Only the samples the forecast takes are read whole.
          if (fit.Takes(time)) fit.Add(*HistorySample::FromLine(line));
        })) {
      return std::nullopt;
    }
  }
  if (!in_order || seen.bytes > kHistoryReadLimit || length > kHistoryTextBound) {
    return std::nullopt;
  }
  fit.Add(poll);

  ForecastResult result;
  result.days_until_full = fit.DaysUntilFull();
  result.read_problem = SkippedLinesProblem(path, seen.skipped, false);
  const bool as_it_is = seen.plain && seen.skipped == 0 && all_kept;
  // New files left by polls ended while they wrote go, looked for once an
  // hour: the first poll of an hour after the newest sample's.
  const auto hour = [](sys_seconds time) { return std::chrono::floor<std::chrono::hours>(time); };
  if (!latest || hour(*latest) != hour(now)) platform::RemoveLeftNewFiles(history_path);
  if (std::optional<platform::FileFailure> not_written = platform::ReplaceFileWith(
          history_path, [&](std::FILE* file) -> std::optional<std::string> {
            const platform::UniqueFile old = platform::OpenForReading(history_path);
            bool read = old != nullptr;
            if (read && as_it_is) {
              read = CopyRest(old.get(), file);
            } else if (read) {
              LinesSeen again;
              read =
                  ForEachSampleIn(old.get(), again, [&](std::string_view line, sys_seconds time) {
                    if (!kept(time)) return;
                    (void)std::fwrite(line.data(), 1, line.size(), file);
                    (void)std::fputc('\n', file);
                  });
            }
            if (!read) return "cannot read " + path + " again";
            const std::string line = poll.Line();
            (void)std::fwrite(line.data(), 1, line.size(), file);
            return std::nullopt;
          })) {
    result.write_problem = std::move(not_written->reason);
  }
  return result;
}

}  // namespace

int DaysUntilFull(std::span<const HistorySample> samples, sys_seconds now, int days) {
  TrendFit fit(now, days);
  for (const HistorySample& sample : samples) fit.Add(sample);
  return fit.DaysUntilFull();
}

ForecastResult RecordAndForecast(std::string_view history_path, sys_seconds now,
                                 std::string_view used, std::string_view total, int days) {
  const std::optional<HistorySample> sample = HistorySample::Of(now, used, total);
  if (sample) {
    if (std::optional<ForecastResult> result =
            RecordAndForecastInPassing(history_path, *sample, days)) {
      return std::move(*result);
    }
  }
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
    result.read_problem = SkippedLinesProblem(path, reading.skipped_lines, end.cut);
  }

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
  } else {
    platform::RemoveLeftNewFiles(history_path);
  }
  return result;
}

}  // namespace measure
