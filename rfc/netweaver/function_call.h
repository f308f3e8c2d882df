// One remote call on the NetWeaver library, as the classic pair RfcCall
// (keeps the request) and RfcReceive (performs it) hands it over.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rfc/netweaver/adapter_error.h"
#include "rfc/netweaver/entry_points.h"
#include "rfc/netweaver/internal_tables.h"
#include "rfc/netweaver/structure_registry.h"
#include "rfc/rfc_api.h"

namespace rfc::nw {

// What RfcCall was given, copied: the module and the exporting values as
// their bytes were at the call.
struct PendingCall {
  struct Value {
    std::string name;
    unsigned type;
    std::string bytes;
  };
  std::string function;
  std::vector<Value> exporting;
};

// A module's description and parameters, looked up once per connection.
struct FunctionInterface {
  ::nw::RFC_FUNCTION_DESC_HANDLE description = nullptr;
  std::vector<::nw::RFC_PARAMETER_DESC> parameters;

  // What the caller sends: RFC_IMPORT and RFC_CHANGING parameters.
  const ::nw::RFC_PARAMETER_DESC* Sent(const std::string& name) const;
  // What the caller receives: RFC_EXPORT and RFC_CHANGING parameters.
  const ::nw::RFC_PARAMETER_DESC* Received(const std::string& name) const;
  // RFC_TABLES parameters.
  const ::nw::RFC_PARAMETER_DESC* Table(const std::string& name) const;
};

// The classic outcome: kRfcOk, kRfcException or kRfcSysException with the
// exception text (the NetWeaver key), or kRfcFailure; `error` on every
// code but kRfcOk.
struct CallOutcome {
  int code = kRfcOk;
  std::string exception;
  std::optional<AdapterError> error;
};

// The classic result of a failed NetWeaver call: RFC_ABAP_EXCEPTION 2,
// RFC_ABAP_RUNTIME_FAILURE and RFC_ABAP_MESSAGE 3 (a system failure raised
// by the partner), everything else 1.
CallOutcome OutcomeOf(const ::nw::RFC_ERROR_INFO& info);

// The module's signature from the system (RfcGetFunctionDesc); a failed
// lookup gives the outcome to report.
std::optional<CallOutcome> LoadInterface(const EntryPoints& api,
                                         ::nw::RFC_CONNECTION_HANDLE connection,
                                         const std::string& function, FunctionInterface& loaded);

// Everything the call needs from the adapter.
struct CallContext {
  const EntryPoints& api;
  ::nw::RFC_CONNECTION_HANDLE connection;
  const StructureRegistry& structures;
  InternalTables& tables;
};

// Creates the function, sets the exporting texts (a value the module does
// not take is dropped, as the partner drops it), invokes it and, on
// success, fills the importing parameters the module returns (left as they
// are otherwise) and the tables of the list the module has. Tables travel
// back only: the sensor sends none.
CallOutcome PerformCall(const CallContext& context, const FunctionInterface& signature,
                        const PendingCall& call, RfcParameter* importing, RfcTable* tables);

}  // namespace rfc::nw
