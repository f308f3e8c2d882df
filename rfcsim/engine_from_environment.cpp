#include <cstdio>
#include <cstdlib>

#include "rfcsim/process_engine.h"

namespace rfcsim {
namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::unique_ptr<Engine> EngineFromEnvironment() {
  const std::string named = EnvironmentValue("RFCSIM_LANDSCAPE");
  LandscapeLoad load =
      named.empty() ? LoadLandscapeFile("rfcsim.json", false) : LoadLandscapeFile(named, true);
  // Standard output belongs to the sensor's result document.
  if (!load.problem.empty()) std::fprintf(stderr, "%s\n", load.problem.c_str());

  EngineFiles files;
  files.record = EnvironmentValue("RFCSIM_RECORD");
  return std::make_unique<Engine>(std::move(load.landscape), std::move(files));
}

}  // namespace rfcsim
