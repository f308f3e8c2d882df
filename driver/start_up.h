// The sensor's entry: the banner, the command line and the switches the
// option text sets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "include/run_state.h"

// Fills `run` from the command line (`arguments` without the program path)
// and the time of day. Ends the run with Error 1001 when the profile name is
// missing. The output flavour and the profile search come after this.
void StartUp(RunState& run, const std::vector<std::string>& arguments,
             std::string_view time_of_day);

// The option text's display form in the single-system run's console line:
// cut before the first "#" and the first "@", and "(No Parameters)" for
// nothing left.
std::string SingleRunOptionsDisplay(std::string options);

// The display form in the listing run: ":" becomes a blank, cut before the
// first " @".
std::string ListingRunOptionsDisplay(std::string options);
