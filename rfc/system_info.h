// System information: which database and host the connected system reports.
#pragma once

#include <string_view>

#include "rfc/remote_call.h"
#include "rfc/sap_library.h"

namespace rfc {

// Calls RFC_SYSTEM_INFO on the step's connection: RFCDBSYS and RFCHOST of
// the answer's fixed fields, trailing blanks included, cut at a NUL.
StepResult<SystemInfo> ReadSystemInfo(const StepContext& step);

}  // namespace rfc

// The sensor measures MaxDB only: a database system name that begins with
// "ADA", compared case-sensitively.
bool IsMaxDb(std::string_view database_system_name);
