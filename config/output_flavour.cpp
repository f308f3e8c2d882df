#include "config/output_flavour.h"

#include <cstdlib>

#include "platform/installation_file.h"

namespace config {

std::string SelectOutputFlavour() {
  if (const char* setting = std::getenv("BRACKWATER_FLAVOUR"); setting && *setting) {
    return setting;
  }
  if (std::optional<std::string> line = platform::FirstLineBesideExecutable("brackwater.flavour")) {
    return *line;
  }
  return "EXEXML";
}

}  // namespace config
