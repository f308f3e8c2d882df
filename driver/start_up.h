// The sensor's entry: the banner, the command line and the switches the
// option text sets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/run_state.h"

// Fills `run` from the command line (`arguments` without the program path)
// and the time of day. Ends the run with Error 1001 when the profile name is
// missing. The output flavour and the profile search come after this.
void StartUp(RunState& run, const std::vector<std::string>& arguments,
             std::string_view time_of_day);
