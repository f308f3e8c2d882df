// The measurement: the filling of the MaxDB data area, read with
// ADA_DB_FILLING on a connection whose database has been checked.
#pragma once

#include <string>

#include "include/run_services.h"
#include "include/run_state.h"
#include "rfc/rfc_api.h"

// Reads the filling on run.ConnectionHandle and returns the RFC return code.
// On success sets run.StepStatus to "OK" and reports the DEVSTAT rows:
//  - single-system run: the first row's text line (printed at once) and nine
//    channels (left in the document), then the document's end, even with no
//    row. Later rows are ignored: one document carries one measurement.
//  - listing run: each row through ReportFillingItem.
// Any other code appends its failure text to run.Document; the tables are
// deleted on every path. Failures of the structure and table operations are
// RfcAbort.
int ReadDatabaseFilling(RunState& run, RunServices& services);

// The remote call alone: installs ADA_DBHIST and ADA_DEVSTA once, calls
// ADA_DB_FILLING with the tables DEVSP_HIST (`history`) and DEVSTAT
// (`status`) and returns the code; on codes 2 and 3 `exception` holds the
// exception text (at most 255 characters).
int CallFillingModule(RunState& run, RunServices& services, ItabHandle history, ItabHandle status,
                      std::string& exception);
