// brackwater-profile: writes, scrambles and checks the sensor's profile files.
#pragma once

#include <string>
#include <vector>

#include "tools/profile_tool/tool_console.h"

namespace profile_tool {

// Runs the tool with `arguments` (the program name first); returns the exit
// code: kToolSuccess, or kToolRefused for wrong usage and refused input.
int RunProfileTool(const std::vector<std::string>& arguments, ToolConsole& console);

}  // namespace profile_tool
