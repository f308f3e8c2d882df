// The global sensor listing "SAP Tessaron.Gbl" names, per sensor, the
// systems it measures and the one item it reports; "Tessaron.Prf" lists
// systems for a run whose item came with "ITEM=" on the command line.
#pragma once

#include <string>
#include <vector>

#include "include/run_state.h"

// Reads the listing run.ProfilePath names (located at start-up) into
// run.PendingSystems, run.ItemName, run.NamingKind and, for the global
// listing, run.RunOptionsOriginal; resets the counters. Ends the run with
// the listing errors, checked in the order 1029 (while reading), 1030, 1025,
// 1026. Afterwards run.ProfilePath is the listing's directory, where each
// system's profile lies.
void ReadGlobalListing(RunState& run);

// The same over lines already read, for tests and fuzzing.
void ApplyGlobalListing(RunState& run, const std::vector<std::string>& lines);
void ApplyItemListing(RunState& run, const std::vector<std::string>& lines);
