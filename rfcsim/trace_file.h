// The RFC library's trace file "Dev_Rfc.Trc". The library appends a block to
// it for every error; the sensor reads the file after a failed call and
// takes the last line starting with "ERROR " (message from the 13th
// character on) after the last line starting with "**** ERROR ".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rfcsim/landscape.h"

namespace rfcsim {

class TraceFile {
 public:
  explicit TraceFile(std::string path);

  // One error block in the real library's shape:
  //   **** ERROR file opened at 20240501 120000, rfcsim
  //   LOCATION    rfcsim (simulated partner)
  //   ERROR       <message>
  //   TIME        Wed May 01 12:00:00 2024
  //   DETAIL      <operation>
  //   COUNTER     <n>
  // followed by an empty line.
  void AppendErrorBlock(std::string_view operation, const ErrorTexts& error);

  // Lines exactly as given, each ended by a line feed. No lines: the file
  // is not touched (and not created).
  void AppendLines(const std::vector<std::string>& lines);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  unsigned blocks_written_ = 0;
};

}  // namespace rfcsim
