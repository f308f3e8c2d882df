// A channel's alarm levels, as the monitors' formats carry them.
#pragma once

#include <string>

namespace output {

// PRTG's limit elements: PRTG warns when the value passes `warning` and
// reports an error when it passes `error`, upwards for upper limits,
// downwards for lower ones. The messages are what PRTG shows then. The
// monitoring-plugin and Script v2 formats judge the value by the same
// levels.
struct ChannelLimits {
  enum class Direction { kUpper, kLower };
  Direction direction = Direction::kUpper;
  int warning = 0;
  int error = 0;
  std::string warning_message;
  std::string error_message;
};

}  // namespace output
