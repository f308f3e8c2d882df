#include "tests/e2e/sensor_target.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "tests/e2e/native_target.h"
#include "tests/e2e/wine_target.h"

namespace e2e {
namespace {

std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::unique_ptr<SensorTarget> MakeTarget() {
  std::string kind = Setting("BRACKWATER_E2E_TARGET");
  std::string executable = Setting("BRACKWATER_E2E_EXE");
  if (kind.empty() || kind == "native") {
    return std::make_unique<NativeTarget>(executable.empty() ? BRACKWATER_E2E_DEFAULT_EXE
                                                             : executable);
  }
  if (kind == "wine") {
    if (executable.empty()) {
      throw std::runtime_error("BRACKWATER_E2E_TARGET=wine needs BRACKWATER_E2E_EXE, the .exe");
    }
    return std::make_unique<WineTarget>(executable);
  }
  throw std::runtime_error("BRACKWATER_E2E_TARGET must be \"native\" or \"wine\", not \"" + kind +
                           "\"");
}

}  // namespace

SensorTarget& TargetUnderTest() {
  static const std::unique_ptr<SensorTarget> target = MakeTarget();
  return *target;
}

bool ThroughNetWeaver() {
  const std::string library = TargetUnderTest().RfcLibraryName();
  return library == "sapnwrfc.dll" || LinuxProgram();
}

bool UnderWine() { return TargetUnderTest().RfcLibraryName().ends_with(".dll"); }

bool LinuxProgram() { return TargetUnderTest().RfcLibraryName() == "libsapnwrfc.so"; }

std::vector<std::string> CleanEnvironment() {
  return InheritedEnvironment({"BRACKWATER_", "WINE"});
}

}  // namespace e2e
