// Trace lines: one line per RFC step on standard error, for an operator who
// asks for them with ",SYSLOG" in the options.
#pragma once

#include <string>
#include <string_view>

#include "rfc/sap_library.h"

namespace rfc {

// The events the run traces.
namespace trace_events {
inline constexpr std::string_view kLibraryLoaded = "RFC library loaded";
inline constexpr std::string_view kProgramStarted = "program started";
inline constexpr std::string_view kEnvironmentCalled = "RfcEnvironment called";
inline constexpr std::string_view kOpenCalled = "RfcOpen called";
inline constexpr std::string_view kOpenExCalled = "RfcOpenEx called";
inline constexpr std::string_view kCallCalled = "RfcCall called";
inline constexpr std::string_view kReceiveCalled = "RfcReceive called";
}  // namespace trace_events

// "<handle> <event> <detail>\n", the handle (a connection's number, 0 for
// none) as a signed decimal.
std::string TraceLineText(int handle, std::string_view event, std::string_view detail);

// Hands the line to `trace`; nothing when the run traces nothing.
void WriteTraceLine(const TraceWriter& trace, int handle, std::string_view event,
                    std::string_view detail);

}  // namespace rfc
