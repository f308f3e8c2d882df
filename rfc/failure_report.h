// The RFC error report: what the operator sees when an operation of the RFC
// library itself fails. Such a failure ends the process with exit code 1.
#pragma once

#include <string>

#include "rfc/sap_library.h"

namespace rfc {

// The console block for `failure`: the heading, the operation and the
// library's last error as labelled lines, an empty line, then the two abort
// lines.
std::string RfcErrorReport(const LibraryFailure& failure);

// The report in one line, for the formats that answer in one: "RFC error - "
// and the labelled fields that hold something, parted by ", ".
std::string RfcErrorLine(const LibraryFailure& failure);

// The abort-log line, written to standard error next to the report.
std::string RfcAbortLogLine();

}  // namespace rfc
