#include "rfc/netweaver/trace_block.h"
#include "rfc/library_files.h"

#include <cstdio>
#include <ctime>

#include "output/texts.h"
#include "platform/files.h"

namespace rfc::nw {
namespace {

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

// "yyyymmdd hhmmss" in local time.
std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char text[32];
  if (local == nullptr || std::strftime(text, sizeof text, "%Y%m%d %H%M%S", local) == 0) {
    return "00000000 000000";
  }
  return text;
}

// The trace file as it is; empty when missing.
std::string ExistingTrace() {
  std::string content;
  platform::UniqueFile file = platform::OpenForReading(rfc::TraceFilePath());
  if (!file) return content;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    content.append(buffer, read);
  }
  return content;
}

// Its lines as the sensor has always written them.
std::string TraceBlock(std::string_view operation, std::string_view message,
                       std::string_view timestamp, unsigned counter) {
  std::string block =
      "**** ERROR file opened at " + std::string(timestamp) + ", Brackwater NetWeaver adapter\n";
  block += "LOCATION    NetWeaver RFC library (sapnwrfc)\n";
  block += "ERROR       " + OneLine(message) + "\n";
  block += "TIME        " + std::string(timestamp) + "\n";
  block += "DETAIL      " + OneLine(operation) + "\n";
  block += "COUNTER     " + std::to_string(counter) + "\n\n";
  return block;
}

}  // namespace

std::optional<std::string> TraceFile::Append(std::string_view operation, std::string_view message) {
  if (message.empty()) return std::nullopt;
  std::string block = TraceBlock(operation, message, Timestamp(), ++blocks_);
  // The file interface knows no appending: the file is written anew with
  // the block after what it held.
  const std::string content = ExistingTrace() + block;
  platform::UniqueFile file = platform::CreateForWriting(rfc::TraceFilePath());
  if (!file) return std::nullopt;
  // The block is for the operator's eyes; a disk that refuses it costs the
  // run nothing it reports.
  (void)std::fwrite(content.data(), 1, content.size(), file.get());
  return block;
}

}  // namespace rfc::nw
