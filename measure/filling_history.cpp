#include "measure/filling_history.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace measure {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

// "YYYY-MM-DDTHH:MM:SSZ"
constexpr std::size_t kTimeLength = 20;
constexpr std::size_t kMostSizeDigits = 21;

constexpr sys_seconds kEarliest{sys_days{std::chrono::year{0} / 1 / 1}};
constexpr sys_seconds kLatest{sys_days{std::chrono::year{9999} / 12 / 31} + std::chrono::hours{24} -
                              std::chrono::seconds{1}};

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The two-digit number at `at` of a text whose digits are checked.
int TwoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// "YYYY-MM-DD": a date that exists.
std::optional<sys_days> ReadDate(std::string_view text) {
  if (text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t at : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(text[at])) return std::nullopt;
  }
  const std::chrono::year_month_day date{
      std::chrono::year{TwoDigits(text, 0) * 100 + TwoDigits(text, 2)},
      std::chrono::month{static_cast<unsigned>(TwoDigits(text, 5))},
      std::chrono::day{static_cast<unsigned>(TwoDigits(text, 8))}};
  if (!date.ok()) return std::nullopt;
  return sys_days{date};
}

// "THH:MM:SSZ" after the date: the time of day within 00:00:00 and 23:59:59.
std::optional<std::chrono::seconds> ReadTimeOfDay(std::string_view text) {
  if (text[10] != 'T' || text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
    return std::nullopt;
  }
  for (std::size_t at : {11, 12, 14, 15, 17, 18}) {
    if (!IsDigit(text[at])) return std::nullopt;
  }
  const int hour = TwoDigits(text, 11);
  const int minute = TwoDigits(text, 14);
  const int second = TwoDigits(text, 17);
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return std::chrono::hours{hour} + std::chrono::minutes{minute} + std::chrono::seconds{second};
}

// The sizes after a line's time, as the history holds them: each an
// optional "-" and 1 to 21 digits, a blank between the two.
bool AreSizes(std::string_view text) {
  std::size_t at = 0;
  for (int size = 0; size < 2; ++size) {
    if (at < text.size() && text[at] == '-') ++at;
    const std::size_t digits = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at == digits || at - digits > kMostSizeDigits) return false;
    if (size == 0) {
      if (at == text.size() || text[at] != ' ') return false;
      ++at;
    }
  }
  return at == text.size();
}

// The value of such a size.
std::optional<long double> ReadSize(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > kMostSizeDigits) return std::nullopt;
  // In whole numbers as far as 18 digits go, the rest scaled on.
  constexpr std::size_t kWhole = 18;
  std::uint64_t leading = 0;
  std::size_t i = 0;
  for (; i < text.size() && i < kWhole; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    leading = leading * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  auto value = static_cast<long double>(leading);
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

void PutDigits(char* at, int value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

std::optional<std::string> UtcText(sys_seconds time) {
  if (time < kEarliest || time > kLatest) return std::nullopt;
  const sys_days day = std::chrono::floor<days>(time);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss<std::chrono::seconds> of_day{time - day};
  std::string text = "0000-00-00T00:00:00Z";
  PutDigits(&text[0], static_cast<int>(date.year()), 4);
  PutDigits(&text[5], static_cast<int>(static_cast<unsigned>(date.month())), 2);
  PutDigits(&text[8], static_cast<int>(static_cast<unsigned>(date.day())), 2);
  PutDigits(&text[11], static_cast<int>(of_day.hours().count()), 2);
  PutDigits(&text[14], static_cast<int>(of_day.minutes().count()), 2);
  PutDigits(&text[17], static_cast<int>(of_day.seconds().count()), 2);
  return text;
}

std::optional<sys_seconds> SampleTimes::Of(std::string_view line) {
  if (line.size() <= kTimeLength || line.size() > HistorySample::kLongestLine ||
      line[kTimeLength] != ' ') {
    return std::nullopt;
  }
  if (!AreSizes(line.substr(kTimeLength + 1))) return std::nullopt;
  const std::optional<std::chrono::seconds> of_day = ReadTimeOfDay(line);
  if (!of_day) return std::nullopt;
  const std::string_view date = line.substr(0, date_.size());
  if (!known_ || date != std::string_view(date_.data(), date_.size())) {
    const std::optional<sys_days> day = ReadDate(date);
    if (!day) return std::nullopt;
    std::copy(date.begin(), date.end(), date_.begin());
    day_ = *day;
    known_ = true;
  }
  return sys_seconds{day_} + *of_day;
}

std::optional<sys_seconds> SampleTimeOf(std::string_view line) { return SampleTimes().Of(line); }

std::optional<HistorySample> HistorySample::FromLine(std::string_view line) {
  const std::optional<sys_seconds> time = SampleTimeOf(line);
  if (!time) return std::nullopt;
  const std::string_view sizes = line.substr(kTimeLength + 1);
  const std::size_t blank = sizes.find(' ');
  const std::string_view used_text = sizes.substr(0, blank);
  const std::string_view total_text = sizes.substr(blank + 1);
  const std::optional<long double> used = ReadSize(used_text);
  const std::optional<long double> total = ReadSize(total_text);
  if (!used || !total) return std::nullopt;
  HistorySample sample;
  std::copy(line.begin(), line.end(), sample.line_.begin());
  sample.line_length_ = static_cast<std::uint8_t>(line.size());
  sample.used_length_ = static_cast<std::uint8_t>(used_text.size());
  sample.time_ = *time;
  sample.used_ = *used;
  sample.total_ = *total;
  return sample;
}

std::optional<HistorySample> HistorySample::Of(sys_seconds time, std::string_view used,
                                               std::string_view total) {
  const std::optional<std::string> time_text = UtcText(time);
  if (!time_text) return std::nullopt;
  // Made from its line, so that the line reads back as this sample.
  std::string line = *time_text;
  line += ' ';
  line += used;
  line += ' ';
  line += total;
  return FromLine(line);
}

void HistorySample::AppendLine(std::string& text) const {
  text.append(line_.data(), line_length_);
  text += '\n';
}

std::string HistorySample::Line() const {
  std::string line;
  line.reserve(LineLength());
  AppendLine(line);
  return line;
}

HistoryReading ReadHistory(std::string_view text) {
  HistoryReading reading;
  // No sample's line is shorter than "YYYY-MM-DDTHH:MM:SSZ 0 0\n".
  reading.samples.reserve(text.size() / (kTimeLength + 5) + 1);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::optional<HistorySample> sample = HistorySample::FromLine(line)) {
      reading.samples.push_back(*sample);
    } else {
      ++reading.skipped_lines;
    }
    start = end + 1;
  }
  return reading;
}

std::string HistoryText(std::span<const HistorySample> samples) {
  std::size_t length = 0;
  for (const HistorySample& sample : samples) length += sample.LineLength();
  std::string text;
  text.reserve(length);
  for (const HistorySample& sample : samples) sample.AppendLine(text);
  return text;
}

std::vector<HistorySample> UpdatedHistory(std::vector<HistorySample> samples,
                                          const HistorySample& now, int days,
                                          std::size_t text_bound) {
  const sys_seconds newest = now.time();
  // A sample's time lies within the years 0000 to 9999: no overflow here.
  const sys_seconds oldest_kept = newest - kHistoryKept;
  const sys_seconds window_start =
      newest - std::chrono::days{std::clamp(days, kFewestForecastDays, kMostForecastDays)};
  std::erase_if(samples, [&](const HistorySample& sample) {
    return sample.time() > newest || sample.time() < oldest_kept;
  });
  const auto earlier = [](const HistorySample& a, const HistorySample& b) {
    return a.time() < b.time();
  };
  if (!std::is_sorted(samples.begin(), samples.end(), earlier)) {
    std::stable_sort(samples.begin(), samples.end(), earlier);
  }
  samples.push_back(now);

  std::size_t length = 0;
  for (const HistorySample& sample : samples) length += sample.LineLength();
  // The samples before the newest `days`, at the front.
  std::size_t older =
      static_cast<std::size_t>(std::partition_point(samples.begin(), samples.end(),
                                                    [&](const HistorySample& sample) {
                                                      return sample.time() < window_start;
                                                    }) -
                               samples.begin());
  while (length > text_bound && samples.size() > 1) {
    // Which samples a round keeps: every second of the older ones from the
    // oldest on, the last of them alone not; when none is left, every
    // second of all counted back from `now`, which stays.
    const std::size_t count = samples.size();
    const auto keeps = [&](std::size_t i) {
      if (older >= 2) return i >= older || i % 2 == 0;
      if (older == 1) return i != 0;
      return (count - 1 - i) % 2 == 0;
    };
    std::vector<HistorySample> thinned;
    thinned.reserve(count);
    std::size_t thinned_older = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (keeps(i)) {
        if (i < older) ++thinned_older;
        thinned.push_back(samples[i]);
      } else {
        length -= samples[i].LineLength();
      }
    }
    samples = std::move(thinned);
    older = thinned_older;
  }
  return samples;
}

}  // namespace measure
