#include "rfc/trace_line.h"

#include <string>

void WriteTraceLine(const RunState& run, RunServices& services, RfcHandle handle,
                    std::string_view event, std::string_view detail) {
  if (run.RunOptions.find(kSyslogOption) == std::string::npos) {
    return;
  }
  std::string line = std::to_string(static_cast<int>(handle));
  line.append(" ").append(event).append(" ").append(detail).append("\n");
  services.err.Write(line);
  services.err.Flush();
}
