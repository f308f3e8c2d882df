// System information: which database and host the connected system reports.
#pragma once

#include <string_view>

#include "include/run_services.h"
#include "include/run_state.h"

// Calls RFC_SYSTEM_INFO on run.ConnectionHandle and returns the RFC return
// code. Success sets run.StepStatus to "OK" and replaces
// run.DatabaseSystemName (RFCDBSYS) and run.Profile.HostnameDisplay
// (RFCHOST) by the answer's fixed fields, trailing blanks included, cut at a
// NUL. Any other code appends its failure text to run.Document. A failed
// structure installation is an RfcAbort.
int ReadSystemInfo(RunState& run, RunServices& services);

// The sensor measures MaxDB only: a database system name that begins with
// "ADA", compared case-sensitively.
bool IsMaxDb(std::string_view database_system_name);
