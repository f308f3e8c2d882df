// Trace lines: one line per RFC step on standard error, for an operator who
// asks for them with ",SYSLOG" in the options.
#pragma once

#include <string_view>

#include "include/run_services.h"
#include "include/run_state.h"
#include "rfc/rfc_api.h"

// The option that switches trace lines on (searched in the upper-cased
// option text).
inline constexpr std::string_view kSyslogOption = ",SYSLOG";

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

// Writes "<handle> <event> <detail>\n" to services.err and flushes it at
// once, so the line survives an abort that follows; the handle is written
// as a signed decimal. Writes nothing unless the options contain ",SYSLOG".
void WriteTraceLine(const RunState& run, RunServices& services, RfcHandle handle,
                    std::string_view event, std::string_view detail);
