// The NetWeaver stand-in's state: its connections over the classic bridge
// and the wide texts of the landscape. Function containers and descriptions
// live apart from it (containers.h, descriptions.h): they belong to no
// connection.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "rfcsim/nw/classic_bridge.h"
#include "rfcsim/nw/nw_landscape.h"
#include "rfcsim/nw/sapnwrfc_api.h"

namespace rfcsim::nw {

class Record;

class Simulator {
 public:
  // `record_path` as RFCSIM_RECORD: the engine's own lines (empty: none).
  Simulator(NwLandscapeLoad load, std::string record_path);

  RFC_CONNECTION_HANDLE Open(const RFC_CONNECTION_PARAMETER* parameters, unsigned count,
                             RFC_ERROR_INFO* error);
  RFC_RC Close(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* error);
  RFC_FUNCTION_DESC_HANDLE FunctionDesc(RFC_CONNECTION_HANDLE handle, const SAP_UC* name,
                                        RFC_ERROR_INFO* error);
  RFC_RC Invoke(RFC_CONNECTION_HANDLE handle, RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO* error);

 private:
  struct Connection {
    unsigned classic = 0;
    std::optional<std::size_t> system_index;
  };
  // Null with the error reported when `handle` is not an open connection.
  Connection* Find(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* error);
  void TakeAnswer(const Connection& connection, const ClassicAnswer& answer, Record& function);
  void TakeWideTexts(const Connection& connection, Record& function);

  WideTexts wide_texts_;
  ClassicBridge bridge_;
  std::map<const Connection*, std::unique_ptr<Connection>> connections_;
};

// The process-wide simulator, made on first use from the environment:
// the landscape from RFCSIM_LANDSCAPE, else rfcsim.json in the working
// directory (a problem is one line on standard error), the record from
// RFCSIM_RECORD.
Simulator& ProcessSimulator();
// Puts `simulator` in place of the current one (tests).
void InstallProcessSimulator(std::unique_ptr<Simulator> simulator);

}  // namespace rfcsim::nw
