// The process-wide simulator behind the library's C functions.
#include <cstdio>
#include <cstdlib>

#include "rfcsim/nw/simulator.h"

namespace rfcsim::nw {
namespace {

// Lives until the process ends, never destroyed: code running at exit may
// still call the library.
Simulator* process_simulator = nullptr;

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::unique_ptr<Simulator> SimulatorFromEnvironment() {
  const std::string named = EnvironmentValue("RFCSIM_LANDSCAPE");
  NwLandscapeLoad load =
      named.empty() ? LoadNwLandscapeFile("rfcsim.json", false) : LoadNwLandscapeFile(named, true);
  // Standard output belongs to the caller.
  if (!load.problem.empty()) std::fprintf(stderr, "%s\n", load.problem.c_str());
  return std::make_unique<Simulator>(std::move(load), EnvironmentValue("RFCSIM_RECORD"));
}

}  // namespace

Simulator& ProcessSimulator() {
  if (!process_simulator) process_simulator = SimulatorFromEnvironment().release();
  return *process_simulator;
}

void InstallProcessSimulator(std::unique_ptr<Simulator> simulator) {
  delete process_simulator;
  process_simulator = simulator.release();
}

}  // namespace rfcsim::nw
