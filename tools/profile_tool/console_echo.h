// The one thing the profile tool needs from the console: reading a password
// without showing it. CMake picks the implementation for the system.
#pragma once

#include <functional>

namespace profile_tool {

// True when standard input is an interactive terminal (a console), not a
// pipe or a file.
bool StandardInputIsTerminal();

// Switches off the echo of standard input. Returns what switches it back
// to the earlier state; an empty function when there was nothing to switch.
std::function<void()> SwitchOffInputEcho();

}  // namespace profile_tool
