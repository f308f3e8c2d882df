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
// the `days` days before `now`, in two passes over the same samples: every
// one counted first, then every one spread about the means. Times and
// sizes centred before they are multiplied keep the sums exact enough for
// many samples of large sizes that change little.
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

  void Count(const HistorySample& sample) {
    const std::optional<long double> time = Offset(sample);
    if (!time) return;
    if (count_ == 0 || *time < first_) first_ = *time;
    if (count_ == 0 || *time >= newest_time_) {
      newest_time_ = *time;
      newest_used_ = sample.used();
      newest_total_ = sample.total();
    }
    ++count_;
    time_sum_ += *time;
    used_sum_ += sample.used();
  }

  // Forgets what was spread, for a pass again over the same samples.
  void Restart() {
    time_squares_ = 0;
    products_ = 0;
  }

  void Spread(const HistorySample& sample) {
    const std::optional<long double> time = Offset(sample);
    if (!time || count_ == 0) return;
    const long double centred = *time - time_sum_ / static_cast<long double>(count_);
    time_squares_ += centred * centred;
    products_ += centred * (sample.used() - used_sum_ / static_cast<long double>(count_));
  }

  int DaysUntilFull() const {
    // The times differ by an hour at least; spread over other samples than
    // were counted (a history replaced between two passes), they might not.
    if (count_ < 2 || newest_time_ - first_ < 3600 || !(time_squares_ > 0)) {
      return kMostDaysUntilFull;
    }
    const long double slope = products_ / time_squares_ * kSecondsPerDay;
    if (!(slope > 0)) return kMostDaysUntilFull;
    const long double left = (newest_total_ - newest_used_) / slope;
    if (!(left < kMostDaysUntilFull)) return kMostDaysUntilFull;
    if (left <= 0) return 0;
    return static_cast<int>(std::floor(left));
  }

 private:
  // The sample's time as seconds after `now` (at most 0) when it lies
  // within the window.
  std::optional<long double> Offset(const HistorySample& sample) const {
    const std::int64_t time = sample.time().time_since_epoch().count();
    if (time < from_ || time > to_) return std::nullopt;
    return static_cast<long double>(time - to_);
  }

  std::int64_t from_ = 0;
  std::int64_t to_ = 0;
  std::size_t count_ = 0;
  long double time_sum_ = 0;
  long double used_sum_ = 0;
  long double first_ = 0;
  long double newest_time_ = 0;
  long double newest_used_ = 0;
  long double newest_total_ = 0;
  long double time_squares_ = 0;
  long double products_ = 0;
};

// Calls `each` with every sample of `file` from where it stands, by the
// rules of ReadHistory, holding one line at a time; `skipped` counts the
// lines that are no sample, `bytes` what was read. False when reading fails.
bool ForEachSampleIn(std::FILE* file, std::size_t& skipped, std::size_t& bytes,
                     const std::function<void(const HistorySample&)>& each) {
  constexpr std::size_t kKeptOfLine = HistorySample::kLongestLine + 2;
  std::vector<char> chunk(kReadChunk);
  // The start of a line that a chunk cut: no more of it than a sample's
  // line and its CR, and one more character to tell a longer line.
  std::string carried;
  carried.reserve(kKeptOfLine);
  const auto take = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<HistorySample> sample = HistorySample::FromLine(line)) {
      each(*sample);
    } else {
      ++skipped;
    }
  };
  const auto carry = [&](std::string_view part) {
    carried.append(part.substr(0, kKeptOfLine - std::min(carried.size(), kKeptOfLine)));
  };
  while (true) {
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
    bytes += got;
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
  if (!carried.empty()) take(carried);
  return true;
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
// twice (to count, then to spread and copy), never held whole, so that a
// long history costs the poll no memory. Nothing when the history is not
// such a one (or cannot be opened): the caller then takes it whole.
std::optional<ForecastResult> RecordAndForecastInPassing(std::string_view history_path,
                                                         const HistorySample& poll, int days) {
  const std::string path(history_path);
  const sys_seconds now = poll.time();
  const sys_seconds oldest_kept = now - kHistoryKept;
  const auto kept = [&](const HistorySample& sample) {
    return sample.time() <= now && sample.time() >= oldest_kept;
  };
  const auto pass = [&](const std::function<void(const HistorySample&)>& each, std::size_t& skipped,
                        std::size_t& bytes) {
    const platform::UniqueFile file = platform::OpenForReading(history_path);
    return file != nullptr && ForEachSampleIn(file.get(), skipped, bytes, each);
  };

  TrendFit fit(now, days);
  std::size_t skipped = 0;
  std::size_t bytes = 0;
  std::size_t length = poll.LineLength();
  bool in_order = true;
  std::optional<sys_seconds> latest;
  const bool read = pass(
      [&](const HistorySample& sample) {
        if (!kept(sample)) return;
        in_order = in_order && (!latest || *latest <= sample.time());
        latest = sample.time();
        length += sample.LineLength();
        fit.Count(sample);
      },
      skipped, bytes);
  if (!read || !in_order || bytes > kHistoryReadLimit || length > kHistoryTextBound) {
    return std::nullopt;
  }
  fit.Count(poll);

  // The copy spreads as well; where no copy can be made, a pass of its own.
  ForecastResult result;
  result.read_problem = SkippedLinesProblem(path, skipped, false);
  bool spread = false;
  std::size_t ignored = 0;
  if (std::optional<platform::FileFailure> not_written = platform::ReplaceFileWith(
          history_path, [&](std::FILE* file) -> std::optional<std::string> {
            std::string line;
            line.reserve(HistorySample::kLongestLine + 1);
            const auto copy = [&](const HistorySample& sample) {
              if (!kept(sample)) return;
              fit.Spread(sample);
              line.clear();
              sample.AppendLine(line);
              (void)std::fwrite(line.data(), 1, line.size(), file);
            };
            if (!pass(copy, ignored, ignored)) return "cannot read " + path + " again";
            copy(poll);
            spread = true;
            return std::nullopt;
          })) {
    result.write_problem = std::move(not_written->reason);
  }
  if (!spread) {
    fit.Restart();
    if (!pass(
            [&](const HistorySample& sample) {
              if (kept(sample)) fit.Spread(sample);
            },
            ignored, ignored)) {
      return std::nullopt;
    }
    fit.Spread(poll);
  }
  result.days_until_full = fit.DaysUntilFull();
  return result;
}

}  // namespace

int DaysUntilFull(std::span<const HistorySample> samples, sys_seconds now, int days) {
  TrendFit fit(now, days);
  for (const HistorySample& sample : samples) fit.Count(sample);
  for (const HistorySample& sample : samples) fit.Spread(sample);
  return fit.DaysUntilFull();
}

ForecastResult RecordAndForecast(std::string_view history_path, sys_seconds now,
                                 std::string_view used, std::string_view total, int days) {
  if (const std::optional<HistorySample> poll = HistorySample::Of(now, used, total)) {
    if (std::optional<ForecastResult> result =
            RecordAndForecastInPassing(history_path, *poll, days)) {
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
