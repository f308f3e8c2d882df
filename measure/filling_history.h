// The history of the data area's filling that a forecast needs: one sample
// per poll, kept in a text file beside the profile, one line per sample:
//
//   2024-05-31T23:59:00Z 1234567 9000000
//
// the time in UTC, the Used Area (DEVSTAT's PAG) and the Total Size
// (CONF_SIZE), both raw as the sensor reports them: decimal integers of up
// to 21 digits, perhaps negative, kept exactly as they were written. A line
// that does not read that way is left out, never fatal. The lines stand in
// the order the polls wrote them; a poll whose clock was wrong leaves a
// sample out of time order, which stays.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace measure {

// The text an updated history holds at most.
inline constexpr std::size_t kHistoryTextBound = 1024 * 1024;
// The forecast's span in days is held within these.
inline constexpr int kFewestForecastDays = 1;
inline constexpr int kMostForecastDays = 365;

// One poll's reading: only a time and two sizes that can be written as a
// line of the history and read back make a sample.
class HistorySample {
 public:
  // The sample that `line` (without its line end) describes: exactly
  // "YYYY-MM-DDTHH:MM:SSZ", a blank, the used size, a blank, the total
  // size. Each size is an optional "-" and 1 to 21 digits; the date must
  // exist and the time of day lie within 00:00:00 and 23:59:59.
  static std::optional<HistorySample> FromLine(std::string_view line);
  // The sample of a poll at `time`; nothing when the time lies outside the
  // years 0000 to 9999 or a size does not read as FromLine requires.
  static std::optional<HistorySample> Of(std::chrono::sys_seconds time, std::string_view used,
                                         std::string_view total);

  std::chrono::sys_seconds time() const { return time_; }
  std::string_view used_text() const { return {line_.data() + kSizesAt, used_length_}; }
  std::string_view total_text() const {
    return {line_.data() + kSizesAt + used_length_ + 1,
            static_cast<std::size_t>(line_length_ - kSizesAt - used_length_ - 1)};
  }
  // The sizes as numbers for arithmetic; 21 digits are beyond what a
  // long double holds exactly, and a forecast needs no more.
  long double used() const { return used_; }
  long double total() const { return total_; }

  // The sample's line with its line feed; FromLine reads it back as this
  // sample.
  std::string Line() const;
  void AppendLine(std::string& text) const;
  std::size_t LineLength() const { return line_length_ + std::size_t{1}; }

  bool operator==(const HistorySample&) const = default;

 private:
  // "YYYY-MM-DDTHH:MM:SSZ " comes before the sizes.
  static constexpr std::size_t kSizesAt = 21;

 public:
  // Each size a sign and 21 digits at most: no longer line is a sample.
  static constexpr std::size_t kLongestLine = kSizesAt + 22 + 1 + 22;

 private:
  HistorySample() = default;

  // The line as read or written, without its line end: a sample is the
  // text it came as, and needs no memory beyond itself.
  std::array<char, kLongestLine> line_{};
  std::uint8_t line_length_ = 0;
  std::uint8_t used_length_ = 0;
  std::chrono::sys_seconds time_{};
  long double used_ = 0;
  long double total_ = 0;
};

// The time of the sample that `line` describes, where HistorySample::FromLine
// reads one, without reading the sizes' values; nothing where it reads none.
std::optional<std::chrono::sys_seconds> SampleTimeOf(std::string_view line);

// SampleTimeOf for the lines of one history in turn: the date last read is
// kept, and the many lines of one day work it out once.
class SampleTimes {
 public:
  std::optional<std::chrono::sys_seconds> Of(std::string_view line);

 private:
  std::array<char, 10> date_{};  // "YYYY-MM-DD"
  std::chrono::sys_days day_{};
  bool known_ = false;
};

// The time as the history writes it, "YYYY-MM-DDTHH:MM:SSZ"; nothing
// outside the years 0000 to 9999.
std::optional<std::string> UtcText(std::chrono::sys_seconds time);

// The lines of a history's text as they come, a chunk at a time, holding no
// more of a line than a sample's line and what tells a longer one. Lines end
// with LF or CR LF, and the last may lack its line end. A text that an
// editor saved as UTF-8 with a byte-order mark, or as UTF-16 (either byte
// order) with one, reads as the text it holds; a character beyond ASCII
// makes its line no sample.
class HistoryLines {
 public:
  using Each = std::function<void(std::string_view line)>;

  // `each` is called with every line, without its line end.
  explicit HistoryLines(Each each) : each_(std::move(each)) {}

  void Feed(std::string_view bytes);
  // The text has ended: its last line, where it lacks a line end.
  void End();

  // Every line ended by a line feed alone, in plain bytes: the text is the
  // one its lines would be written as.
  bool plain() const { return plain_; }

 private:
  enum class Encoding { kUnknown, kBytes, kUtf16LittleEndian, kUtf16BigEndian };

  // The longest byte-order mark.
  static constexpr std::size_t kMarkLength = 3;
  // What a character that no sample holds becomes.
  static constexpr std::string_view kNoSampleCharacter = "\x80";
  // Of a line that is no sample, this much tells that it is none.
  static constexpr std::size_t kKeptOfLine = HistorySample::kLongestLine + 2;

  void DecideEncoding();
  void FeedDecoded(std::string_view bytes);
  void FeedBytes(std::string_view bytes);
  void Carry(std::string_view part);
  void Take(std::string_view line);

  Each each_;
  Encoding encoding_ = Encoding::kUnknown;
  std::string start_;    // the first bytes, until the encoding is known
  std::string carried_;  // the start of a line a chunk cut
  std::string unit_;     // the first byte of a UTF-16 unit a chunk cut
  std::string decoded_;  // a UTF-16 chunk as bytes
  bool plain_ = true;
};

struct HistoryReading {
  std::vector<HistorySample> samples;  // in the order of the text
  std::size_t skipped_lines = 0;       // lines (blank ones too) that are no sample
};

// Reads a history's whole text by the rules of HistoryLines.
HistoryReading ReadHistory(std::string_view text);

// The text of `samples`, one line each.
std::string HistoryText(std::span<const HistorySample> samples);

}  // namespace measure
