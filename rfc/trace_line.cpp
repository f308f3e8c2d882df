#include "rfc/trace_line.h"

namespace rfc {

std::string TraceLineText(int handle, std::string_view event, std::string_view detail) {
  std::string line = std::to_string(handle);
  line.append(" ").append(event).append(" ").append(detail).append("\n");
  return line;
}

void WriteTraceLine(const TraceWriter& trace, int handle, std::string_view event,
                    std::string_view detail) {
  if (trace) trace(TraceLineText(handle, event, detail));
}

}  // namespace rfc
