#include "rfc/trace_file_scan.h"
#include "rfc/library_files.h"

#include <algorithm>

#include "output/texts.h"
#include "platform/line_reader.h"

namespace rfc {

namespace {

constexpr std::string_view kRecordEnd = "**** ERROR ";
constexpr std::string_view kErrorLine = "ERROR ";
constexpr std::size_t kErrorMessageFrom = 12;  // the 13th character
constexpr std::string_view kArrow = "======> ";
constexpr std::size_t kArrowAt = 7;            // characters 8 to 15
constexpr std::size_t kArrowMessageFrom = 15;  // the 16th character

std::string MessageFrom(std::string_view line, std::size_t from) {
  if (from >= line.size()) {
    return {};
  }
  std::string_view message = line.substr(from);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n')) {
    message.remove_suffix(1);
  }
  return std::string(message);
}

}  // namespace

void TraceMessageScanner::Feed(std::string_view line) {
  if (line.starts_with(kRecordEnd)) {
    message_.clear();
  }
  if (line.starts_with(kErrorLine)) {
    message_ = MessageFrom(line, kErrorMessageFrom);
  }
  if (line.substr(std::min(kArrowAt, line.size())).starts_with(kArrow)) {
    message_ = MessageFrom(line, kArrowMessageFrom);
  }
}

std::string TraceDiagnosis(std::string_view message) {
  if (message.empty()) {
    return std::string(output::texts::kPleaseCheckTraceFile);
  }
  return std::string(output::texts::kTraceMessageLead).append(message);
}

std::optional<std::string> ScanTraceFile() {
  platform::LineReader reader(TraceFilePath(), kTracePieceLength);
  if (!reader.IsOpen()) {
    return std::nullopt;
  }
  TraceMessageScanner scanner;
  std::string line;
  while (reader.Next(line)) {
    scanner.Feed(line);
  }
  return scanner.message();
}

}  // namespace rfc
