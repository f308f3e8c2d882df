// Which configured fault and which delay, if any, an operation runs into.
//
// An operation is named by its verb and subject, as in "RfcCall GET_CPU_ALL"
// or "ItCreate DEVSTAT". A fault or delay whose "operation" is the verb alone
// matches every subject. A system's own entries come first, then the
// landscape-wide ones; the first that matches applies.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rfcsim/landscape.h"

namespace rfcsim {

struct Operation {
  std::string verb;
  std::string subject;
  std::optional<unsigned> row = std::nullopt;  // ItGetLine: the row asked for

  // "verb subject", or the verb alone: the text the error handler receives.
  std::string Text() const;
};

// `system` may be null (no system concerned): then only landscape-wide
// entries apply.
const Fault* FindFault(const Landscape& landscape, const SystemModel* system,
                       const Operation& operation);
const Delay* FindDelay(const Landscape& landscape, const SystemModel* system,
                       const Operation& operation);

}  // namespace rfcsim
