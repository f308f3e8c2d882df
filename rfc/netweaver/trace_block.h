// The trace file "Dev_Rfc.Trc" of the working directory, where the backend
// leaves each failure for the operator in the classic library's block form:
// a line beginning "**** ERROR ", the message on a line beginning "ERROR"
// and 7 blanks (so that it starts at the 13th character), the time, the
// operation, a running count, then an empty line. Line breaks within the
// operation or the message become blanks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rfc::nw {

class TraceFile {
 public:
  // Appends a block with the local time and the next count, creating the
  // file when missing, and returns the block. An empty message writes none:
  // a block with an empty ERROR line would tell the reader of the trace less
  // than none. A trace file that cannot be written is skipped (nothing
  // returned): the failure itself is reported anyway.
  std::optional<std::string> Append(std::string_view operation, std::string_view message);

 private:
  unsigned blocks_ = 0;
};

}  // namespace rfc::nw
