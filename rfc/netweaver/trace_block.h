// The adapter's entries in the trace file "Dev_Rfc.Trc" of the working
// directory, in the classic library's block form, so that the sensor's
// trace scan (rfc/trace_file_scan.h) finds the message of the last failure
// as it finds the classic library's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rfc::nw {

// One block: a line beginning "**** ERROR ", the message on a line
// beginning "ERROR" and 7 blanks (so that it starts at the 13th
// character), the time, the operation, a running count, then an empty line.
// Line breaks within `operation` or `message` become blanks.
std::string TraceBlock(std::string_view operation, std::string_view message,
                       std::string_view timestamp, unsigned counter);

// The trace file as the backend writes it, counting its blocks.
class TraceFile {
 public:
  // Appends a block with the local time and the next count to the trace
  // file, creating it when missing, and returns the block. An empty message
  // writes none: a block with an empty ERROR line would tell the reader of
  // the trace less than none. A trace file that cannot be written is
  // skipped (nothing returned): the failure itself is reported anyway.
  std::optional<std::string> Append(std::string_view operation, std::string_view message);

 private:
  unsigned blocks_ = 0;
};

// Appends a block with the local time and this process's running count to
// the trace file, creating it when missing. A trace file that cannot be
// written is skipped: the failure itself is reported anyway.
void AppendTraceBlock(std::string_view operation, std::string_view message);

}  // namespace rfc::nw
