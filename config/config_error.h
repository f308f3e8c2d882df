// How configuration reports a defect: as a value carrying the error
// document's text. Only the driver turns it into the document and the exit.
#pragma once

#include <string>
#include <variant>

namespace config {

struct ConfigError {
  std::string message;

  bool operator==(const ConfigError&) const = default;
};

// A reading that either succeeded or names its defect.
template <class T>
using Checked = std::variant<T, ConfigError>;

}  // namespace config
