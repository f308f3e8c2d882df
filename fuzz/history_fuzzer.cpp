// The filling history: its lines read, which samples a poll keeps within a
// bound, and a poll's reading and rewriting of the file, on any text.
//
// Input: a control character for the forecast's days (0 to 255, held
// within 1 to 365 by the code), one for a bound (that many times 64 bytes,
// so that short inputs are thinned too), one for the size of the chunks
// the lines are fed in (1 to 256 bytes), a line with this poll's sample
// (when it reads as none, the poll at 2024-06-01T00:00:00Z with "0" used
// of "0"), then the history's text. The text is also laid out as a history
// file (in a directory of the process's own below TMPDIR or /tmp), and a
// poll over it must forecast from the samples the text holds and leave the
// file the samples the bound keeps, in their order, with its own last.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "measure/days_until_full.h"
#include "measure/filling_history.h"
#include "measure/history_bound.h"
#include "measure/history_file.h"

namespace {

using measure::HistorySample;
using std::chrono::sys_seconds;

// The history file, in a directory of this process's own.
const std::string& HistoryFile() {
  static const std::string path = [] {
    const char* temporary = std::getenv("TMPDIR");
    std::string directory =
        std::string(temporary != nullptr ? temporary : "/tmp") + "/brackwater-history-fuzz-XXXXXX";
    if (mkdtemp(directory.data()) == nullptr) std::abort();
    return directory + "/PRD.P00.hst";
  }();
  return path;
}

std::string FileText(const std::string& name) {
  std::string text;
  if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
      text.append(chunk, got);
    }
    std::fclose(file);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const int days = static_cast<int>(input.TakeControl());
  const std::size_t bound = std::size_t{input.TakeControl()} * 64;
  const std::size_t chunk = input.TakeControl() + std::size_t{1};
  std::string_view now_line = input.TakeLine();
  if (!now_line.empty() && now_line.back() == '\r') now_line.remove_suffix(1);
  const HistorySample now = HistorySample::FromLine(now_line).value_or(*HistorySample::Of(
      sys_seconds{std::chrono::sys_days{std::chrono::year{2024} / 6 / 1}}, "0", "0"));
  const std::string_view text = input.rest();

  const measure::HistoryReading reading = measure::ReadHistory(text);
  const std::string written = measure::HistoryText(reading.samples);
  const measure::HistoryReading reread = measure::ReadHistory(written);
  fuzz::Require(reread.skipped_lines == 0 && reread.samples == reading.samples,
                "the samples read back as written");
  std::vector<HistorySample> fed;
  std::size_t fed_skipped = 0;
  measure::HistoryLines lines([&](std::string_view line) {
    if (const std::optional<HistorySample> sample = HistorySample::FromLine(line)) {
      fed.push_back(*sample);
    } else {
      ++fed_skipped;
    }
  });
  for (std::size_t at = 0; at < text.size(); at += chunk) lines.Feed(text.substr(at, chunk));
  lines.End();
  fuzz::Require(fed == reading.samples && fed_skipped == reading.skipped_lines,
                "lines fed in chunks read as the whole text");
  fuzz::Require(!lines.plain() || fed_skipped > 0 || written == text,
                "a plain text of samples is their lines");

  // Which samples a bound keeps.
  const measure::TrendFit span(now.time(), days);
  std::vector<measure::SampleLine> sample_lines;
  for (const HistorySample& sample : reading.samples) {
    sample_lines.push_back(
        {static_cast<std::uint8_t>(sample.LineLength()), span.Takes(sample.time())});
  }
  const auto kept_text = [&](const std::vector<bool>& kept) {
    std::string kept_lines;
    for (std::size_t i = 0; i < kept.size(); ++i) {
      if (kept[i]) reading.samples[i].AppendLine(kept_lines);
    }
    return kept_lines + now.Line();
  };
  const std::vector<bool> kept = measure::KeptWithinBound(sample_lines, now.LineLength(), bound);
  fuzz::Require(kept.size() == sample_lines.size(), "a verdict for each sample");
  fuzz::Require(kept_text(kept).size() <= std::max(bound, now.LineLength()),
                "the kept text keeps within the bound");
  std::size_t span_length = now.LineLength();
  for (const measure::SampleLine& line : sample_lines)
    span_length += line.in_span ? line.length : 0;
  if (span_length <= bound) {
    for (std::size_t i = 0; i < kept.size(); ++i) {
      fuzz::Require(kept[i] || !sample_lines[i].in_span, "the span stays whole where it fits");
    }
  }

  // A poll over the file.
  measure::TrendFit fit(now.time(), days);
  for (const HistorySample& sample : reading.samples) fit.Add(sample);
  fit.Add(now);
  const std::string& history = HistoryFile();
  if (std::FILE* file = std::fopen(history.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  const measure::ForecastResult poll =
      measure::RecordAndForecast(history, now.time(), now.used_text(), now.total_text(), days);
  fuzz::Require(poll.days_until_full == fit.DaysUntilFull(),
                "a poll forecasts from the samples of the text and its own");
  fuzz::Require(poll.days_until_full >= 0 && poll.days_until_full <= measure::kMostDaysUntilFull,
                "the forecast lies within 0 and 3650 days");
  fuzz::Require(!poll.write_problem && FileText(history) == kept_text(measure::KeptWithinBound(
                                                                sample_lines, now.LineLength(),
                                                                measure::kHistoryTextBound)),
                "a poll keeps the samples the bound keeps, its own last");
  return 0;
}
