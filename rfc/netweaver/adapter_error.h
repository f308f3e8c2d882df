// What the adapter knows about a failure: the classic library's four texts
// of its last error, taken from the NetWeaver error record or made by the
// adapter itself, and how they go into the classic error records.
#pragma once

#include <string>

#include "rfc/netweaver/nw_rfc_api.h"
#include "rfc/rfc_api.h"

namespace rfc::nw {

struct AdapterError {
  std::string key;              // the NetWeaver key, or the adapter's own
  std::string status;           // the NetWeaver error group as text
  std::string message;          // the text the trace block and reports show
  std::string internal_status;  // the ABAP message (class, type, number, V1-V4) or the key
  int logon_group = 104;        // the group RfcOpenEx reports (101-104)
};

// From a NetWeaver error record, every text converted to single bytes.
AdapterError FromNetWeaver(const ::nw::RFC_ERROR_INFO& info);

// A failure the adapter finds itself (a bad argument, a refused address):
// group 101, "program error", as the classic library reports a caller's
// mistake.
AdapterError AdapterFailure(std::string key, std::string message);

// The classic RfcLastError record: each text cut to its field, terminated.
void FillLastError(const AdapterError& error, RfcErrorInfo& record);

// The classic RfcOpenEx record: zeroed, then group, key and message.
void FillOpenError(const AdapterError& error, RfcErrorInfoEx& record);

}  // namespace rfc::nw
