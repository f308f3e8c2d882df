// Where the profile (or listing) file lies. In the PRTG flavour the sensor
// must run from PRTG's "Custom Sensors\ExeXml\" directory and refuses any
// other place.
#pragma once

#include "include/run_state.h"

// Settles run.ProfileDirectory and run.ProfilePath for run.ProfileName (and
// the directory split off it at start-up) and checks that the file can be
// opened. Ends the run with Error 1002 when it cannot be found, and with the
// path-usage refusal when a PRTG profile lies outside an ExeXml directory.
void LocateProfile(RunState& run);
