#include <cstdio>
#include <cstdlib>

#include "rfcsim/process_engine.h"

namespace rfcsim {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

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

  // As SAP's library: the trace in the directory RFC_TRACE_DIR names, the
  // destinations in the file RFC_INI names; else the working directory.
  EngineFiles files;
  if (std::string directory = EnvironmentValue("RFC_TRACE_DIR"); !directory.empty()) {
    if (directory.back() != '/' && directory.back() != '\\') directory += kSeparator;
    files.trace = directory + files.trace;
  }
  if (std::string ini = EnvironmentValue("RFC_INI"); !ini.empty()) files.saprfc_ini = ini;
  files.record = EnvironmentValue("RFCSIM_RECORD");
  return std::make_unique<Engine>(std::move(load.landscape), std::move(files));
}

}  // namespace rfcsim
