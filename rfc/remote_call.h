// The pieces every remote step is made of: parameter and table entries,
// the one-time structure installation, and the call itself.
#pragma once

#include <span>
#include <string>

#include "include/run_services.h"
#include "include/run_state.h"
#include "rfc/rfc_api.h"
#include "rfc/rfc_library.h"

namespace rfc {

// A parameter entry for one field of the caller; `type` is a type code or a
// structure's type handle.
RfcParameter Parameter(const char* name, unsigned type, unsigned length, void* address);

// A table entry: the library is told the name, its length, the row type,
// the length of one row in bytes (as the internal table was created) and the
// internal table; everything else stays 0.
RfcTable Table(const char* name, RfcTypeHandle type, unsigned row_length, ItabHandle table);

// Installs a structure description unless `type` already holds its handle:
// each description is installed once per process and reused by every later
// call. A failed installation is an RfcAbort ("RfcInstallStructure").
void InstallStructureOnce(RfcLibrary& library, const char* name,
                          std::span<const RfcTypeElement> elements, RfcTypeHandle& type);

struct RemoteCallResult {
  int code = kRfcOk;
  // The exception name on codes 2 and 3 (empty when the library gives none),
  // at most 255 characters; empty on every other code.
  std::string exception;
};

// RfcCall, then at once RfcReceive on the same handle (run.ConnectionHandle),
// each followed by its trace line. A non-zero RfcCall result is returned
// without RfcReceive. The lists end with their end entries; `tables` is
// passed to both operations, as the library expects.
RemoteCallResult CallRemoteFunction(const RunState& run, RunServices& services,
                                    const char* function, RfcParameter* exporting,
                                    RfcParameter* importing, RfcTable* tables);

}  // namespace rfc
