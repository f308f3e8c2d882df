// The connection probe: one real remote call (GET_CPU_ALL) on a new
// connection before anything is read from the system.
#pragma once

#include "rfc/remote_call.h"
#include "rfc/sap_library.h"

namespace rfc {

// Calls GET_CPU_ALL on the step's connection. The answer's rows are fetched
// but not used; the table is deleted on every path that returns normally.
StepResult<ProbeAnswer> ProbeServer(const StepContext& step);

}  // namespace rfc
