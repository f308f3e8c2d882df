#pragma once

#include <memory>
#include <string>

#include "config/connection_profile.h"
#include "driver/run_services.h"
#include "driver/run_state.h"
#include "rfc/sap_library.h"

namespace driver {

// Where the run's trace lines go: standard error, each line flushed at once
// so that it survives an abort that follows; nothing without ",SYSLOG".
rfc::TraceWriter RunTrace(const RunState& run, RunServices& services);

// Makes the RFC library ready before the run's first use of it; a library
// that cannot be loaded ends the run with Error 1031. A library loaded from
// a file is named by the run's first trace line.
void LoadRfcLibrary(RunServices& services, const rfc::TraceWriter& trace);

// Hands the library the RFC error report, for the errors it cannot return
// from: the report goes to services.out, the abort line to services.err.
// In a format whose exit code is not 1 for it, the process ends there with
// that format's code.
void PrepareErrorReport(RunServices& services, output::ResultDocument& document);

// Ends the output with the RFC error report of `failure` and returns the
// exit code (see PrepareErrorReport): the report itself and 1, or in the
// formats that answer once, their answer for it and its code. A process
// measuring one system for a listing run hands the report's line on, with
// exit code 1, for the run to answer.
int PrintRfcError(RunServices& services, output::ResultDocument& document,
                  const rfc::LibraryFailure& failure);

// Logs on to the system of `profile`, ",HOST=" and ",NO=" overriding its
// address; no connection when the library opened none or the destination
// file could not be put in place. A password the library cannot be handed
// whole ends the run before the library is asked, with Error 1034
// (ErrorDocumentExit).
std::unique_ptr<rfc::SapConnection> LogOn(const RunState& run,
                                          const config::ConnectionProfile& profile,
                                          RunServices& services, const rfc::TraceWriter& trace);

// The steps every measured system goes through on its open connection: the
// probe, the system information and the check that the database is MaxDB.
// A failed step ends the run with its failure text (ErrorDocumentExit), a
// failure of the library's own with its report (RfcAbort); another database
// ends it with Error 1018. The host the system reports replaces the
// profile's display copy.
void RunCheckedSteps(RunServices& services, rfc::SapConnection& connection,
                     config::ConnectionProfile& profile);

// The console line that closes a run: "* <time> SAP Brackwater now
// processed...", after an empty line; part of the run's last text.
std::string ProcessedLine();

// The answer of a step, or the end of the run as RunCheckedSteps ends it.
template <class Answer>
Answer AnswerOrEnd(rfc::StepResult<Answer> result);

}  // namespace driver
