// The pieces every classic remote step is made of: parameter and table
// entries, the one-time structure installation, and the call itself.
#pragma once

#include <span>
#include <string>

#include "rfc/rfc_api.h"
#include "rfc/rfc_library.h"
#include "rfc/sap_library.h"

namespace rfc {

// Structure descriptions are installed once per process and reused by every
// later call; 0 until then.
struct StructureTypes {
  RfcTypeHandle cpu_all = 0;
  RfcTypeHandle system_info = 0;
  RfcTypeHandle db_history = 0;
  RfcTypeHandle dev_status = 0;
};

// What a remote step works with: the twelve operations, the open
// connection, the run's trace lines and the installed structures.
struct StepContext {
  RfcLibrary& library;
  RfcHandle handle;
  const TraceWriter& trace;
  StructureTypes& types;
};

// A failure of the library's own operations (structure installation,
// internal tables), thrown inside the classic steps and turned into a
// LibraryFailure where a step returns.
class LibraryAbort {
 public:
  explicit LibraryAbort(std::string operation) : operation_(std::move(operation)) {}
  const std::string& operation() const { return operation_; }

 private:
  std::string operation_;
};

// A parameter entry for one field of the caller; `type` is a type code or a
// structure's type handle.
RfcParameter Parameter(const char* name, unsigned type, unsigned length, void* address);

// A table entry: the library is told the name, its length, the row type,
// the length of one row in bytes (as the internal table was created) and the
// internal table; everything else stays 0.
RfcTable Table(const char* name, RfcTypeHandle type, unsigned row_length, ItabHandle table);

// Installs a structure description unless `type` already holds its handle.
// A failed installation is a LibraryAbort ("RfcInstallStructure").
void InstallStructureOnce(RfcLibrary& library, const char* name,
                          std::span<const RfcTypeElement> elements, RfcTypeHandle& type);

struct RemoteCallResult {
  int code = kRfcOk;
  // The exception name on codes 2 and 3 (empty when the library gives none),
  // at most 255 characters; empty on every other code.
  std::string exception;
};

// RfcCall, then at once RfcReceive on the same handle, each followed by its
// trace line. A non-zero RfcCall result is returned without RfcReceive. The
// lists end with their end entries; `tables` is passed to both operations,
// as the library expects.
RemoteCallResult CallRemoteFunction(const StepContext& step, const char* function,
                                    RfcParameter* exporting, RfcParameter* importing,
                                    RfcTable* tables);

// The failure value of a call that did not succeed: its code and exception,
// and the message of the last failure the library's trace file describes.
RemoteFailure FailureOf(RemoteCallResult result);

// What the library says of its last error, read at once after `operation`
// failed, before anything else is asked of it; then the (null) connection
// handle is closed, as the library expects before the process goes.
LibraryFailure ReadLibraryFailure(RfcLibrary& library, std::string operation);

// Runs a step's body and turns a LibraryAbort inside it into the failure
// value.
template <class Answer, class Body>
StepResult<Answer> GuardedStep(RfcLibrary& library, Body&& body) {
  std::string failed_operation;
  try {
    return body();
  } catch (const LibraryAbort& abort) {
    failed_operation = abort.operation();
  }
  return ReadLibraryFailure(library, std::move(failed_operation));
}

}  // namespace rfc
