// The sensor's steps on SAP's NetWeaver RFC library (sapnwrfc.dll), for
// hosts that have only the NetWeaver RFC SDK: the library's functions
// called directly, its answers read into the sensor's values.
//
// For the operator, every failure is also written to the trace file
// "Dev_Rfc.Trc" in the classic library's block form, as the install guide
// describes; the sensor's failure text is what its reading of that file has
// always given (step_failure.h). The library has no errors of its own that
// end the run: every failure is a refused logon or a failed step.
#pragma once

#include <memory>

#include "rfc/netweaver/entry_points.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// The library on the functions of `api`, every pointer set
// (TakeEntryPoints). `api` must outlive the library, and the library every
// connection it opens.
std::unique_ptr<SapLibrary> MakeNetWeaverBackend(const EntryPoints& api);

}  // namespace rfc::nw
