// An open connection of SAP's NetWeaver RFC library and the sensor's three
// remote steps on it.
#pragma once

#include <memory>

#include "rfc/netweaver/entry_points.h"
#include "rfc/netweaver/trace_block.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// Takes over `handle`, which the connection closes when it goes. Each step
// writes the trace lines the classic pair RfcCall/RfcReceive wrote, with
// `number` as the connection; a failed step leaves its block in
// `trace_file`. `api` and `trace_file` must outlive the connection.
std::unique_ptr<SapConnection> MakeNetWeaverConnection(const EntryPoints& api,
                                                       ::nw::RFC_CONNECTION_HANDLE handle,
                                                       unsigned number, TraceWriter trace,
                                                       TraceFile& trace_file);

}  // namespace rfc::nw
