#pragma once

#include "driver/run_services.h"
#include "driver/run_state.h"

// Measures every system the listing named, one after another, and reports
// the listing's one item per system as a channel named after the system,
// then a summary of processed and failed systems. Returns the exit code; a
// failed probe or system information, or a database that is not MaxDB, ends
// the whole run through ErrorDocumentExit after what was already printed.
int RunListing(RunState& run, RunServices& services);
