// What each known function module answers on one system: built-in
// defaults, overlaid with what the landscape says.
#pragma once

#include <string>

#include "rfcsim/json_fields.h"
#include "rfcsim/landscape.h"
#include "rfcsim/modules.h"

namespace rfcsim {

// What the defaults take from the system: RFC_SYSTEM_INFO reports the
// system's own name and host. Texts in single-byte form.
struct SystemIdentity {
  std::string name;
  std::string host;
  int sysnr = 0;
};

// The built-in answer of `module`.
ModuleAnswer DefaultAnswer(const ModuleLayout& module, const SystemIdentity& system);

// The answer of `module` on `system`: the default with `overlay` merged in
// as a JSON merge patch (objects merge, arrays replace, null removes).
// `overlay` may be null (no changes).
ModuleAnswer BuildModuleAnswer(const ModuleLayout& module, const SystemIdentity& system,
                               const Json& overlay, const std::string& path);

}  // namespace rfcsim
