#pragma once

#include <string>

namespace platform {

// The local time of day as eight characters, "hh:mm:ss".
std::string LocalTimeOfDay();

}  // namespace platform
