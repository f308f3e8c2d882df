// Completing a failure text from the RFC library's trace file, which names
// the cause the return code alone does not tell.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <optional>

// The trace file is read in pieces of at most this many characters; each
// piece counts as a line of its own.
inline constexpr std::size_t kTracePieceLength = 99;

// Follows the trace file line by line and keeps the message of the last
// failure it describes:
//  - "**** ERROR " at the start ends a failure record: the message empties;
//  - "ERROR " at the start: the message is the line from its 13th character;
//  - "======> " as characters 8 to 15: the message is the line from its 16th
//    character.
// The checks run in this order, so a line that passes the last two keeps the
// text after the arrow. A line too short to reach its message gives an empty
// one. The message never ends in a carriage return or line feed.
class TraceMessageScanner {
 public:
  void Feed(std::string_view line);
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

// What a failure text gets from a scanned trace: " - " and the message, or
// the request to look at the trace when no message was found.
std::string TraceDiagnosis(std::string_view message);

// Scans "Dev_Rfc.Trc" in the working directory: the message of the last
// failure it describes (empty when none), nothing when the file cannot be
// opened.
std::optional<std::string> ScanTraceFile();
