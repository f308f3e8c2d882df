// The RFC error report: what the operator sees when an operation of the RFC
// library itself fails. Such a failure ends the process with exit code 1.
#pragma once

#include <string>
#include <string_view>

#include "include/run_services.h"
#include "rfc/rfc_api.h"
#include "rfc/rfc_library.h"

// The console block for a failed `operation`: the heading, the operation and
// the library's last error as labelled lines, an empty line, then the two
// abort lines. Building it closes the (null) connection handle, as the
// library expects before the process goes.
std::string RfcErrorReport(rfc::RfcLibrary& library, std::string_view operation);

// The abort-log line, written to standard error next to the report.
std::string RfcAbortLogLine();

// Writes the report to services.out and the abort-log line to services.err
// and flushes both. Does not end the process: the driver returns exit code
// 1 after an RfcAbort; the library's error handler below exits itself.
void PrintRfcError(RunServices& services, std::string_view operation);

// Hands the error handler to the library (RfcEnvironment) and keeps
// `services` for it. The handler has no context parameter, so the services
// are held process-wide: `services` must live until the process ends.
void RegisterErrorReport(RunServices& services);

extern "C" {
// The handler the library calls on an error of its own, with no way back:
// prints the report for `operation` (null reads as empty) through the
// registered services and ends the process with exit code 1.
[[noreturn]] void BW_RFC_CALL HandleRfcLibraryError(char* operation);
}
