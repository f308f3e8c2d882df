#include "rfcsim/trace_file.h"

#include <ctime>

#include "rfcsim/files.h"

namespace rfcsim {
namespace {

std::string LocalTime(const char* format) {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char text[64] = "";
  if (local) std::strftime(text, sizeof text, format, local);
  return text;
}

}  // namespace

TraceFile::TraceFile(std::string path) : path_(std::move(path)) {}

void TraceFile::AppendErrorBlock(std::string_view operation, const ErrorTexts& error) {
  ++blocks_written_;
  std::string block;
  block += "**** ERROR file opened at " + LocalTime("%Y%m%d %H%M%S") + ", rfcsim\n";
  block += "LOCATION    rfcsim (simulated partner)\n";
  block += "ERROR       " + error.message + "\n";
  block += "TIME        " + LocalTime("%a %b %d %H:%M:%S %Y") + "\n";
  block += platform::Joined("DETAIL      ", operation, "\n");
  block += "COUNTER     " + std::to_string(blocks_written_) + "\n\n";
  AppendToFile(path_, block);
}

void TraceFile::AppendLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;  // leaves a missing file missing
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  AppendToFile(path_, text);
}

}  // namespace rfcsim
