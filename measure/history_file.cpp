#include "measure/history_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <variant>
#include <vector>

#include "measure/history_bound.h"
#include "platform/atomic_file.h"

namespace measure {
namespace {

using std::chrono::sys_seconds;

// What the reading of a history saw.
struct HistoryCensus {
  std::vector<SampleLine> samples;  // each sample line, in the order of the file
  std::size_t skipped = 0;          // lines that are no sample
  bool plain = true;                // see HistoryLines::plain
};

// The read problem of lines that are no sample, as the trace shows it.
std::optional<std::string> ReadProblem(const std::string& path, std::size_t skipped, bool cut) {
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

}  // namespace

ForecastResult RecordAndForecast(std::string_view history_path, sys_seconds now,
                                 std::string_view used, std::string_view total, int days) {
  const std::string path(history_path);
  ForecastResult result;
  std::variant<platform::FileTail, platform::FileFailure> opened =
      platform::OpenFileTail(history_path, kHistoryReadLimit);
  if (const auto* failure = std::get_if<platform::FileFailure>(&opened)) {
    result.read_problem = failure->reason;
  }
  const std::optional<HistorySample> poll = HistorySample::Of(now, used, total);
  if (!poll) {
    result.write_problem = "no sample recorded in " + path + ": the time or a size (\"" +
                           std::string(used) + "\", \"" + std::string(total) +
                           "\") cannot be written as a history line";
  }
  // What could not be read: the forecast rests on this poll alone, and the
  // file stays as it is, since a rewrite would lose it.
  if (result.read_problem) {
    if (!result.write_problem) {
      result.write_problem = path + " is left as it is: it cannot be read";
    }
    return result;
  }
  const platform::FileTail& tail = std::get<platform::FileTail>(opened);

  // First reading: the forecast, and what each sample line is.
  TrendFit fit(now, days);
  HistoryCensus census;
  {
    SampleTimes times;
    HistoryLines lines([&](std::string_view line) {
      const std::optional<sys_seconds> time = times.Of(line);
      if (!time) {
        ++census.skipped;
        return;
      }
      const bool in_span = fit.Takes(*time);
      // Only the samples the forecast takes are read whole.
      if (in_span) fit.Add(*HistorySample::FromLine(line));
      census.samples.push_back({static_cast<std::uint8_t>(line.size() + 1), in_span});
    });
    if (!tail.Read([&](std::string_view chunk) { lines.Feed(chunk); })) {
      result.read_problem = "cannot read " + path;
      result.write_problem = path + " is left as it is: it cannot be read";
      return result;
    }
    lines.End();
    census.plain = lines.plain();
  }
  result.read_problem = ReadProblem(path, census.skipped, tail.cut());
  if (!poll) return result;  // a forecast from the history alone: there is nothing to record
  fit.Add(*poll);
  result.days_until_full = fit.DaysUntilFull();

  const std::vector<bool> kept =
      KeptWithinBound(census.samples, poll->LineLength(), kHistoryTextBound);
  const bool all_kept = std::find(kept.begin(), kept.end(), false) == kept.end();
  // A history that is all samples, as this sensor writes it, is copied as
  // it is; another one sample by sample.
  const bool as_it_is = all_kept && census.plain && census.skipped == 0 && !tail.cut();
  std::optional<platform::FileFailure> not_written =
      platform::ReplaceFileWith(history_path, [&](std::FILE* file) -> std::optional<std::string> {
        bool read = true;
        if (as_it_is) {
          read = tail.Read([&](std::string_view chunk) {
            (void)std::fwrite(chunk.data(), 1, chunk.size(), file);
          });
        } else {
          // Second reading of the same opened file: the same lines in the
          // same order.
          SampleTimes times;
          std::size_t index = 0;
          HistoryLines lines([&](std::string_view line) {
            if (!times.Of(line)) return;
            if (index < kept.size() && kept[index]) {
              (void)std::fwrite(line.data(), 1, line.size(), file);
              (void)std::fputc('\n', file);
            }
            ++index;
          });
          read = tail.Read([&](std::string_view chunk) { lines.Feed(chunk); });
          lines.End();
        }
        if (!read) return "cannot read " + path + " again";
        const std::string line = poll->Line();
        (void)std::fwrite(line.data(), 1, line.size(), file);
        return std::nullopt;
      });
  if (not_written) {
    result.write_problem = std::move(not_written->reason);
  }
  platform::RemoveLeftNewFiles(history_path);
  return result;
}

}  // namespace measure
