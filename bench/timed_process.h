// Runs a program to its end and measures it as a whole process: wall time
// and peak resident memory.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

struct ProcessMeasurement {
  std::chrono::duration<double, std::milli> wall{};
  long peak_kib = 0;  // peak resident set size of the program itself
  int exit_code = -1;
};

// How a run is watched. Reading the peak memory stops the program at its exit
// under ptrace, which costs time of its own (most under Wine), so timed runs
// and memory runs are separate.
enum class Watch { kTime, kPeakMemory };

// Starts `argv` in `working_directory` with the caller's environment plus
// `extra_environment` ("NAME=value"), its output read and discarded, and
// waits for it.
// `wall` is always filled, `peak_kib` only with Watch::kPeakMemory.
ProcessMeasurement RunTimed(const std::vector<std::string>& argv,
                            const std::filesystem::path& working_directory,
                            const std::vector<std::string>& extra_environment,
                            Watch watch = Watch::kTime);
