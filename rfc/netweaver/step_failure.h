// What the sensor learns of a failed remote step: the classic return code
// and exception of the NetWeaver library's error record, and the failure's
// entry in the trace file for the operator.
#pragma once

#include <string>
#include <string_view>

#include "rfc/netweaver/nw_rfc_api.h"
#include "rfc/netweaver/trace_block.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// A failed call (interface lookup, function, parameters, invocation): code
// 2 for RFC_ABAP_EXCEPTION, 3 for RFC_ABAP_RUNTIME_FAILURE and
// RFC_ABAP_MESSAGE (a system failure raised by the partner), each with the
// error key as the exception; 1 for everything else. The message is the
// record's, in single bytes.
RemoteFailure CallFailure(const ::nw::RFC_ERROR_INFO& info);

// An answer that could not be read: code 1 and the record's message, or
// the sensor's own words for a value it cannot take.
RemoteFailure ReadFailure(const ::nw::RFC_ERROR_INFO& info);
RemoteFailure ReadFailure(std::string message);

// Writes the failure of `operation` to the trace file and returns it as the
// sensor reports it. The sensor has always completed its failure text from
// the last message in the trace file, read in pieces of 99 characters, so
// the message is what that reading finds: the block's own message when a
// block was written (cut at a piece's end, line breaks as blanks), else
// what the file held before, or the file found missing.
RemoteFailure Recorded(RemoteFailure failure, std::string_view operation, TraceFile& trace);

}  // namespace rfc::nw
