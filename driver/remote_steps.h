#pragma once

#include "include/run_services.h"
#include "include/run_state.h"

// Makes the RFC library ready before the run's first use of it; a library
// that cannot be loaded ends the run with Error 1031. A library loaded from
// a file is named by the run's first trace line.
void LoadRfcLibrary(const RunState& run, RunServices& services);

// The steps every measured system goes through on its open connection:
// the probe, the system information and the check that the database is
// MaxDB. A failed step ends the run with its failure text completed from
// the library's trace file; another database ends it with Error 1018. The
// connection is closed on both ways out.
void RunCheckedSteps(RunState& run, RunServices& services);

// A remote step left "ERR": the failure text it started in run.Document is
// completed from the trace file and becomes the error document. Closes the
// connection when `close_connection` and one is open.
[[noreturn]] void FailStep(RunState& run, RunServices& services, bool close_connection);
