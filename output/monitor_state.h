// How a run stands for a monitor that judges it (the monitoring-plugin and
// Script v2 formats): the four states of a monitoring plugin, worst last.
#pragma once

#include <optional>
#include <string_view>

#include "output/channel_limits.h"

namespace output {

// The values are the monitoring plugins' exit codes.
enum class MonitorState { kOk = 0, kWarning = 1, kCritical = 2, kUnknown = 3 };

MonitorState Worse(MonitorState a, MonitorState b);

// The state an error message of the sensor stands for. Errors 1011 to 1018
// come from the SAP system's side (a logon refused, a failed RFC step, an
// exception, a database that is not MaxDB): CRITICAL, the system is in
// trouble. Every other message is the sensor's own trouble (profile, path,
// options, the RFC library, the deadline, credentials, the library's error
// report): UNKNOWN, the system's state is not known.
MonitorState StateOfError(std::string_view message);

// The state a channel's value stands for under its levels; a channel in
// PRTG's warning state (`warning`) is WARNING at least. A value that is no
// whole number is judged by nothing but `warning`.
MonitorState StateOfChannel(std::string_view value, const std::optional<ChannelLimits>& limits,
                            bool warning);

}  // namespace output
