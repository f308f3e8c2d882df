// The connection probe: one real remote call (GET_CPU_ALL) on a new
// connection before anything is read from the system.
#pragma once

#include "include/run_services.h"
#include "include/run_state.h"

// Calls GET_CPU_ALL on run.ConnectionHandle and returns the RFC return code.
// Success sets run.StepStatus to "OK" (the caller has set "ERR" and judges
// the step by it alone); any other code appends its failure text to
// run.Document. The answer's values are fetched but not used. Failures of the
// structure and table operations are RfcAbort.
int ProbeServer(RunState& run, RunServices& services);
