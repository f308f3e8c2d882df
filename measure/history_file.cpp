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

// A poll whose history another poll replaced between its two readings reads
// it again, this many times in all.
constexpr int kReadings = 3;

// What the first reading of a history saw.
struct HistoryCensus {
  std::vector<SampleLine> samples;  // each sample line, in the order of the file
  std::size_t skipped = 0;          // lines that are no sample
  bool plain = true;                // see HistoryLines::plain
  bool cut = false;                 // see platform::FileTail::cut
  // What was read, to tell the second reading whether it reads the same.
  std::size_t bytes = 0;
};

// Opens the history; a missing one is an empty FileTail.
std::variant<platform::FileTail, platform::FileFailure> OpenHistory(std::string_view history_path) {
  return platform::OpenFileTail(history_path, kHistoryReadLimit);
}

platform::FileFailure NotReadAgain(std::string_view history_path) {
  return {"cannot read " + std::string(history_path), platform::FileTrouble::kOther};
}

// The first reading: the samples the forecast takes go to `fit`, and what
// each line is to the census. The file is closed when it returns: a
// replacement cannot go through while this process holds it open.
std::variant<HistoryCensus, platform::FileFailure> TakeCensus(std::string_view history_path,
                                                              TrendFit& fit) {
  std::variant<platform::FileTail, platform::FileFailure> opened = OpenHistory(history_path);
  if (auto* failure = std::get_if<platform::FileFailure>(&opened)) return std::move(*failure);
  const platform::FileTail& tail = std::get<platform::FileTail>(opened);
  HistoryCensus census;
  census.cut = tail.cut();
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
  if (!tail.Read([&](std::string_view chunk) {
        census.bytes += chunk.size();
        lines.Feed(chunk);
      })) {
    return NotReadAgain(history_path);
  }
  lines.End();
  census.plain = lines.plain();
  return census;
}

// The second reading, into the replacement `file`: the samples `kept`
// chooses, or, where it keeps every line as it stands, the text as it is.
// Nothing on success, else the reason; `changed` tells where that is a
// history other than the first reading's (another poll replaced it
// meanwhile).
std::optional<platform::FileFailure> WriteKept(std::string_view history_path,
                                               const HistoryCensus& census,
                                               const std::vector<bool>& kept, std::FILE* file,
                                               bool& changed) {
  const std::string path(history_path);
  std::variant<platform::FileTail, platform::FileFailure> opened = OpenHistory(history_path);
  if (auto* failure = std::get_if<platform::FileFailure>(&opened)) return std::move(*failure);
  const platform::FileTail& tail = std::get<platform::FileTail>(opened);
  const bool all_kept = std::find(kept.begin(), kept.end(), false) == kept.end();
  bool same = tail.cut() == census.cut;
  bool read = true;
  if (all_kept && census.plain && census.skipped == 0 && !census.cut) {
    // All samples, as this sensor writes a history: copied as it is. A
    // replacement by another poll meanwhile has another length (a line
    // more, or fewer after thinning); copied all the same it would still
    // be a whole history of the sensor's own.
    std::size_t bytes = 0;
    read = tail.Read([&](std::string_view chunk) {
      bytes += chunk.size();
      (void)std::fwrite(chunk.data(), 1, chunk.size(), file);
    });
    same = same && bytes == census.bytes;
  } else {
    SampleTimes times;
    std::size_t index = 0;
    std::size_t skipped = 0;
    HistoryLines lines([&](std::string_view line) {
      if (!times.Of(line)) {
        ++skipped;
        return;
      }
      same = same && index < kept.size() && census.samples[index].length == line.size() + 1;
      if (same && kept[index]) {
        (void)std::fwrite(line.data(), 1, line.size(), file);
        (void)std::fputc('\n', file);
      }
      ++index;
    });
    read = tail.Read([&](std::string_view chunk) { lines.Feed(chunk); });
    lines.End();
    same = same && index == kept.size() && skipped == census.skipped;
  }
  if (!read) return NotReadAgain(path + " again");
  changed = !same;
  if (changed)
    return platform::FileFailure{path + " changed while it was read",
                                 platform::FileTrouble::kChanging};
  return std::nullopt;
}

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

// What the monitor's text says of a history that cost the forecast: the
// file's name, what was not done, and why in a few words.
std::string Trouble(std::string_view history_path, std::string_view not_done,
                    std::string_view why) {
  const std::size_t separator = history_path.find_last_of("\\/");
  const std::string_view name =
      separator == std::string_view::npos ? history_path : history_path.substr(separator + 1);
  return std::string(name) + " " + std::string(not_done) + " (" + std::string(why) + ")";
}

}  // namespace

ForecastResult RecordAndForecast(std::string_view history_path, sys_seconds now,
                                 std::string_view used, std::string_view total, int days) {
  const std::string path(history_path);
  ForecastResult result;
  const std::optional<HistorySample> poll = HistorySample::Of(now, used, total);
  for (int reading = 1; reading <= kReadings; ++reading) {
    TrendFit fit(now, days);
    std::variant<HistoryCensus, platform::FileFailure> taken = TakeCensus(history_path, fit);
    if (auto* failure = std::get_if<platform::FileFailure>(&taken)) {
      // What could not be read: the forecast rests on this poll alone, and
      // the file stays as it is, since a rewrite would lose it.
      result.read_problem = std::move(failure->reason);
      result.write_problem = path + " is left as it is: it cannot be read";
      result.trouble = Trouble(path, "not read", platform::WordsOf(failure->trouble));
      break;
    }
    const HistoryCensus& census = std::get<HistoryCensus>(taken);
    result.read_problem = ReadProblem(path, census.skipped, census.cut);
    if (!poll) break;
    fit.Add(*poll);
    result.days_until_full = fit.DaysUntilFull();

    const std::vector<bool> kept =
        KeptWithinBound(census.samples, poll->LineLength(), kHistoryTextBound);
    bool changed = false;
    std::optional<platform::FileFailure> not_written = platform::ReplaceFileWith(
        history_path, [&](std::FILE* file) -> std::optional<platform::FileFailure> {
          if (std::optional<platform::FileFailure> failure =
                  WriteKept(history_path, census, kept, file, changed)) {
            return failure;
          }
          const std::string line = poll->Line();
          (void)std::fwrite(line.data(), 1, line.size(), file);
          return std::nullopt;
        });
    result.write_problem.reset();
    result.trouble.reset();
    if (!not_written) break;
    result.write_problem = std::move(not_written->reason);
    result.trouble = Trouble(path, "not written", platform::WordsOf(not_written->trouble));
    if (!changed) break;
  }
  if (!poll) {
    result.write_problem = "no sample recorded in " + path + ": the time or a size (\"" +
                           std::string(used) + "\", \"" + std::string(total) +
                           "\") cannot be written as a history line";
    result.trouble = Trouble(path, "not written", "sizes not recordable");
  }
  platform::RemoveLeftNewFiles(history_path);
  return result;
}

}  // namespace measure
