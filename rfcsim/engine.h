// The simulated RFC library: the twelve operations of librfc32 over one
// landscape. librfc32.cpp forwards the C functions to one process-wide
// Engine; tests drive their own engines directly.
//
// Every operation appends one line to the record (when recording), and a
// failing operation appends to the trace file and sets the texts that
// RfcLastError hands out.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "rfc/rfc_api.h"
#include "rfcsim/faults.h"
#include "rfcsim/internal_table.h"
#include "rfcsim/landscape.h"
#include "rfcsim/logon.h"
#include "rfcsim/open_request.h"
#include "rfcsim/recorder.h"
#include "rfcsim/trace_file.h"

namespace rfcsim {

// Where the engine's files lie; the library uses these defaults in the
// working directory.
struct EngineFiles {
  std::string trace = "Dev_Rfc.Trc";
  std::string saprfc_ini = "SapRfc.ini";
  std::string record;  // empty: no record
};

class Engine {
 public:
  Engine(Landscape landscape, EngineFiles files);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void Environment(const RfcEnvironmentRecord* environment);
  RfcHandle Open(const OpenOptions* options);
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfo* error_info);
  void Close(RfcHandle handle);
  int LastError(RfcErrorInfo* error_info);
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle);
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting, RfcTable* tables);
  // On results 2 and 3 `*exception` points to a text owned by the engine,
  // valid until the next Receive (or is null when a fault says so); other
  // results leave `*exception` as it was.
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables, char** exception);
  ItabHandle CreateTable(const char* name, unsigned row_length, unsigned occurs, unsigned memory);
  unsigned TableFill(ItabHandle table);
  void* TableLine(ItabHandle table, unsigned row);
  int DeleteTable(ItabHandle table);

 private:
  struct Connection {
    const SystemModel* system;
    std::optional<std::string> pending_function;  // between Call and Receive
  };

  // Resolves the partner and checks the logon; notes the handle and the
  // system reached in `record`.
  RfcHandle Logon(std::string_view verb, const OpenRequestBuild& build, RecordLine& record);
  // Checks the operation against the faults; a matching fault is carried out
  // (see Trip) and returned.
  const Fault* Tripped(const SystemModel* system, const Operation& operation);
  // Trace lines and last error of `fault`; arms the error handler.
  void Trip(const Fault& fault, const Operation& operation);
  // An error of rfcsim's own: a trace block and the last error.
  void Fail(const Operation& operation, const ErrorTexts& error);
  template <typename Describe>
  RecordLine StartRecord(Describe describe) const {
    return RecordLine(recorder_, describe);
  }
  // Writes the operation's record line, then calls the armed error handler,
  // which may end the process.
  void Finish(RecordLine record);
  void Delay(std::chrono::milliseconds latency) const;
  // Null with the last error set (and a trace block) when `handle` is not an
  // open connection.
  Connection* FindConnection(RfcHandle handle, const Operation& operation);
  // The first name-length mismatch or unknown table handle in the lists.
  std::optional<std::string> CheckLists(const RfcParameter* parameters,
                                        const RfcTable* tables) const;

  Landscape landscape_;
  SystemIndex systems_;
  EngineFiles files_;
  TraceFile trace_;
  Recorder recorder_;
  RfcErrorHandler error_handler_ = nullptr;
  std::optional<std::string> armed_handler_text_;
  std::string handler_argument_;  // what the error handler's pointer points to
  ErrorTexts last_error_;

  std::map<RfcHandle, Connection> connections_;
  RfcHandle next_handle_ = 1;
  // Operations without a connection (structures, internal tables) count as
  // operations on the system of the most recent successful logon.
  const SystemModel* current_system_ = nullptr;

  StructureNames structures_;
  RfcTypeHandle next_type_handle_ = 101;  // never mistaken for a type code
  TableRegistry tables_;
  std::string exception_text_;
};

}  // namespace rfcsim
