// Where SAP's RFC library keeps its two files: the trace file "Dev_Rfc.Trc"
// and the destination file "SapRfc.ini". In the working directory, unless
// the environment names other places as SAP documents for its libraries:
// RFC_TRACE_DIR the trace file's directory, RFC_INI the destination file's
// path and name. The sensor reads and writes them where the library does.
#pragma once

#include <string>

namespace rfc {

std::string TraceFilePath();
std::string SapRfcIniPath();

}  // namespace rfc
