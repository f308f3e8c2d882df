#include "platform/line_reader.h"

#include "platform/files.h"

namespace platform {

std::vector<std::string> SplitLines(std::string_view text, std::size_t limit) {
  std::vector<std::string> lines;
  StringSource source(text);
  std::string line;
  while (TakeLine(source, limit, line)) {
    lines.push_back(line);
  }
  return lines;
}

LineReader::LineReader(std::string_view windows_path, std::size_t limit)
    : file_(OpenForReading(windows_path).release()), limit_(limit) {}

bool LineReader::Next(std::string& line) {
  if (!file_) {
    return false;
  }
  return TakeLine(*this, limit_, line);
}

std::optional<std::vector<std::string>> ReadLines(std::string_view windows_path,
                                                  std::size_t limit) {
  LineReader reader(windows_path, limit);
  if (!reader.IsOpen()) return std::nullopt;
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  return lines;
}

}  // namespace platform
