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

void HistoryLines::Feed(std::string_view bytes) {
  if (encoding_ == Encoding::kUnknown) {
    const std::size_t wanted = std::min(bytes.size(), kMarkLength - start_.size());
    start_.append(bytes.substr(0, wanted));
    bytes.remove_prefix(wanted);
    if (start_.size() < kMarkLength) return;
    DecideEncoding();
  }
  FeedDecoded(bytes);
}

void HistoryLines::End() {
  if (encoding_ == Encoding::kUnknown) DecideEncoding();
  if (!unit_.empty()) {
    // Half a UTF-16 unit: no character of a sample.
    unit_.clear();
    Carry(kNoSampleCharacter);
  }
  if (!carried_.empty()) {
    plain_ = false;
    Take(carried_);
    carried_.clear();
  }
}

void HistoryLines::DecideEncoding() {
  const std::string first = std::move(start_);
  start_.clear();
  std::string_view rest = first;
  encoding_ = Encoding::kBytes;
  if (rest.starts_with("\xEF\xBB\xBF")) {
    rest.remove_prefix(3);
  } else if (rest.starts_with("\xFF\xFE")) {
    encoding_ = Encoding::kUtf16LittleEndian;
    rest.remove_prefix(2);
  } else if (rest.starts_with("\xFE\xFF")) {
    encoding_ = Encoding::kUtf16BigEndian;
    rest.remove_prefix(2);
  }
  // A mark makes the text other than its lines would be written.
  if (rest.size() < first.size()) plain_ = false;
  FeedDecoded(rest);
}

void HistoryLines::FeedDecoded(std::string_view bytes) {
  if (encoding_ == Encoding::kBytes) return FeedBytes(bytes);
  // Each unit as the byte it is where it is ASCII; any other character
  // spoils its line, as it would in a text of bytes.
  decoded_.clear();
  const bool little_endian = encoding_ == Encoding::kUtf16LittleEndian;
  const auto decode = [&](unsigned char first, unsigned char second) {
    const unsigned unit = little_endian ? first | (second << 8U) : (first << 8U) | second;
    decoded_ += unit < 0x80 ? static_cast<char>(unit) : kNoSampleCharacter[0];
  };
  if (!unit_.empty() && !bytes.empty()) {
    decode(static_cast<unsigned char>(unit_[0]), static_cast<unsigned char>(bytes[0]));
    unit_.clear();
    bytes.remove_prefix(1);
  }
  for (; bytes.size() >= 2; bytes.remove_prefix(2)) {
    decode(static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>(bytes[1]));
  }
  if (!bytes.empty()) unit_ = bytes;
  FeedBytes(decoded_);
}

void HistoryLines::FeedBytes(std::string_view bytes) {
  for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n')) {
    if (carried_.empty()) {
      Take(bytes.substr(0, end));
    } else {
      Carry(bytes.substr(0, end));
      Take(carried_);
      carried_.clear();
    }
    bytes.remove_prefix(end + 1);
  }
  Carry(bytes);
}

void HistoryLines::Carry(std::string_view part) {
  carried_.append(part.substr(0, kKeptOfLine - std::min(carried_.size(), kKeptOfLine)));
}

void HistoryLines::Take(std::string_view line) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
    plain_ = false;
  }
  each_(line);
}

HistoryReading ReadHistory(std::string_view text) {
  HistoryReading reading;
  HistoryLines lines([&](std::string_view line) {
    if (std::optional<HistorySample> sample = HistorySample::FromLine(line)) {
      reading.samples.push_back(*sample);
    } else {
      ++reading.skipped_lines;
    }
  });
  lines.Feed(text);
  lines.End();
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

}  // namespace measure
