#pragma once

#include <string>
#include <vector>

#include "driver/run_services.h"

// One run of the sensor: `command_line` is the program path and its
// arguments. Writes the console lines and the result document to
// services.out and returns the exit code. This is the one place that turns
// the ways a run can end into an exit code.
int RunSensor(const std::vector<std::string>& command_line, RunServices& services);
