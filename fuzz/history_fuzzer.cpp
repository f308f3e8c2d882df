// The filling history: its lines read, a poll's update and the forecast
// from it, on any text.
//
// Input: a control character for the forecast's days (0 to 255, held
// within 1 to 365 by the code), one for the text bound (0: the real one,
// else that many times 64 bytes, so that short inputs are thinned too), a
// line with this poll's sample (when it reads as none, the poll at
// 2024-06-01T00:00:00Z with "0" used of "0"), then the history's text.
// With the real bound, the text is also laid out as a history file (in a
// directory of the process's own below TMPDIR or /tmp), and a
// poll's forecast over it must keep and forecast what the update above
// does, whichever way the poll reads the file.
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

namespace {

using measure::HistorySample;
using std::chrono::sys_seconds;

std::size_t TextLength(const std::vector<HistorySample>& samples) {
  std::size_t length = 0;
  for (const HistorySample& sample : samples) length += sample.LineLength();
  return length;
}

bool Earlier(const HistorySample& a, const HistorySample& b) { return a.time() < b.time(); }

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
  const unsigned bound_control = input.TakeControl();
  const std::size_t bound = bound_control == 0 ? measure::kHistoryTextBound : bound_control * 64;
  std::string_view now_line = input.TakeLine();
  if (!now_line.empty() && now_line.back() == '\r') now_line.remove_suffix(1);
  const HistorySample now = HistorySample::FromLine(now_line).value_or(*HistorySample::Of(
      sys_seconds{std::chrono::sys_days{std::chrono::year{2024} / 6 / 1}}, "0", "0"));
  const std::string_view text = input.rest();

  const measure::HistoryReading reading = measure::ReadHistory(text);
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
                            (text.empty() || text.back() == '\n' ? 0 : 1);
  fuzz::Require(reading.samples.size() + reading.skipped_lines == lines,
                "every line is a sample or skipped");
  const std::string written = measure::HistoryText(reading.samples);
  const measure::HistoryReading reread = measure::ReadHistory(written);
  fuzz::Require(reread.skipped_lines == 0 && reread.samples == reading.samples,
                "the samples read back as written");

  const std::vector<HistorySample> updated =
      measure::UpdatedHistory(reading.samples, now, days, bound);
  fuzz::Require(!updated.empty() && updated.back() == now, "the update ends with this poll");
  fuzz::Require(std::is_sorted(updated.begin(), updated.end(), Earlier),
                "the update is in time order");
  fuzz::Require(std::all_of(updated.begin(), updated.end(),
                            [&](const HistorySample& s) {
                              return s.time() <= now.time() &&
                                     s.time() >= now.time() - measure::kHistoryKept;
                            }),
                "the update holds neither future samples nor those past keeping");
  fuzz::Require(TextLength(updated) <= std::max(bound, now.LineLength()),
                "the update's text keeps within the bound");

  // The newest days stay whole whenever they fit.
  const sys_seconds window_start =
      now.time() -
      std::chrono::days{std::clamp(days, measure::kFewestForecastDays, measure::kMostForecastDays)};
  const auto in_window = [&](const HistorySample& s) {
    return s.time() >= window_start && s.time() <= now.time();
  };
  std::vector<HistorySample> window;
  std::copy_if(reading.samples.begin(), reading.samples.end(), std::back_inserter(window),
               in_window);
  window.push_back(now);
  if (TextLength(window) <= bound) {
    fuzz::Require(static_cast<std::size_t>(
                      std::count_if(updated.begin(), updated.end(), in_window)) == window.size(),
                  "the newest days are kept whole when they fit");
  }

  const int forecast = measure::DaysUntilFull(updated, now.time(), days);
  fuzz::Require(forecast >= 0 && forecast <= measure::kMostDaysUntilFull,
                "the forecast lies within 0 and 3650 days");
  if (bound_control == 0 && text.size() <= measure::kHistoryReadLimit) {
    const std::string& history = HistoryFile();
    if (std::FILE* file = std::fopen(history.c_str(), "wb")) {
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
    }
    const measure::ForecastResult poll =
        measure::RecordAndForecast(history, now.time(), now.used_text(), now.total_text(), days);
    fuzz::Require(poll.days_until_full == forecast, "a poll forecasts as the update does");
    fuzz::Require(!poll.write_problem && FileText(history) == measure::HistoryText(updated),
                  "a poll keeps what the update keeps");
  }

  const int unordered = measure::DaysUntilFull(reading.samples, now.time(), days);
  fuzz::Require(unordered >= 0 && unordered <= measure::kMostDaysUntilFull,
                "a forecast from any samples lies within 0 and 3650 days");
  return 0;
}
