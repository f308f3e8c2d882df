// The twelve classic RFC operations (rfc::RfcLibrary) on SAP's NetWeaver
// RFC library (sapnwrfc.dll), so that the sensor runs unchanged on hosts
// that have only the NetWeaver RFC SDK.
//
// Failures are reported as the classic library reported them: a result
// code, the last error (RfcLastError), a block in the trace file
// "Dev_Rfc.Trc" whose message is the NetWeaver library's, and for RfcOpenEx
// the connection error record. The error handler of RfcEnvironment is kept
// for the adapter's own errors of the classic library's kind: an internal
// table handle that is no table of the adapter's (ItFill, ItGetLine,
// ItDelete), with the operation's name. No other failure calls it: not a
// refused or failed logon, not a failed call, not a missing row.
#pragma once

#include <memory>

#include "rfc/netweaver/entry_points.h"
#include "rfc/rfc_library.h"

namespace rfc::nw {

// The adapter on the functions of `api`, which must outlive it; every
// pointer of `api` must be set (TakeEntryPoints).
std::unique_ptr<RfcLibrary> MakeNetWeaverLibrary(const EntryPoints& api);

}  // namespace rfc::nw
