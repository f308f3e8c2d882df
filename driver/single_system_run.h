#pragma once

#include "driver/run_services.h"
#include "driver/run_state.h"

// Measures the one system whose profile LocateProfile found: reads the
// profile, logs on, probes, checks the database, reads the filling, prints
// the result document and returns the exit code. Failures end the run
// through ErrorDocumentExit (exit 2) or RfcAbort (exit 1).
int RunSingleSystem(RunState& run, RunServices& services);
