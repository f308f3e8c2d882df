// The simulated RFC library: the twelve operations of librfc32 over one
// landscape. librfc32.cpp forwards the C functions to one process-wide
// Engine; tests drive their own engines directly.
//
// Every operation appends one line to the record (when recording), and a
// failing operation appends to the trace file and sets the texts that
// RfcLastError hands out. An operation the landscape delays waits where its
// faults are checked. An operation made to crash ends the process once its
// record line is written.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "rfcsim/faults.h"
#include "rfcsim/internal_table.h"
#include "rfcsim/landscape.h"
#include "rfcsim/logon.h"
#include "rfcsim/open_request.h"
#include "rfcsim/recorder.h"
#include "rfcsim/sap_rfc.h"
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

  void Environment(const RFC_ENV* environment);
  RFC_HANDLE Open(const RFC_OPTIONS* options);
  // A failed logon fills every byte of `*error_info` (see FillErrorInfoEx);
  // a successful one leaves it as it was: SAP describes the record for
  // failures only.
  RFC_HANDLE OpenEx(const char* connection_text, RFC_ERROR_INFO_EX* error_info);
  void Close(RFC_HANDLE handle);
  int LastError(RFC_ERROR_INFO* error_info);
  int InstallStructure(const char* name, const RFC_TYPE_ELEMENT* elements, unsigned element_count,
                       RFC_TYPEHANDLE* type_handle);
  // Refuses (result 1) lists with a wrong name length, an unknown table
  // handle, or a table entry whose row length is not its table's.
  int Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
  // Refuses lists as Call does. On results 2 and 3 `*exception` points to a
  // text owned by the engine, valid until the next Receive (or is null when
  // a fault says so); other results leave `*exception` as it was.
  int Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
  ITAB_H CreateTable(const char* name, unsigned row_length, unsigned occurs, unsigned memory);
  unsigned TableFill(ITAB_H table);
  void* TableLine(ITAB_H table, unsigned row);
  int DeleteTable(ITAB_H table);

 private:
  struct Connection {
    const SystemModel* system;
    std::optional<std::string> pending_function;  // between Call and Receive
  };

  // Resolves the partner and checks the logon; notes the handle and the
  // system reached in `record`.
  RFC_HANDLE Logon(std::string_view verb, const OpenRequestBuild& build, RecordLine& record);
  // Waits out the operation's delay, if any, then checks it against the
  // faults; a matching fault is carried out (see Trip) and returned. A
  // crashing one writes `record` as it stands and ends the process.
  const Fault* Tripped(const SystemModel* system, const Operation& operation, RecordLine& record);
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
  // Sleeps for `length`, holding no lock: a caller's other threads (a
  // watchdog ending the process, say) run on meanwhile.
  void Wait(std::chrono::nanoseconds length) const;
  // Null with the last error set (and a trace block) when `handle` is not an
  // open connection.
  Connection* FindConnection(RFC_HANDLE handle, const Operation& operation);
  // The first name-length mismatch, unknown table handle or row-length
  // mismatch in the lists.
  std::optional<std::string> CheckLists(const RFC_PARAMETER* parameters,
                                        const RFC_TABLE* tables) const;

  Landscape landscape_;
  SystemIndex systems_;
  EngineFiles files_;
  TraceFile trace_;
  Recorder recorder_;
  RFC_ERROR_HANDLER error_handler_ = nullptr;
  std::optional<std::string> armed_handler_text_;
  std::string handler_argument_;  // what the error handler's pointer points to
  ErrorTexts last_error_;

  std::map<RFC_HANDLE, Connection> connections_;
  RFC_HANDLE next_handle_ = 1;
  // Operations without a connection (structures, internal tables) count as
  // operations on the system of the most recent successful logon.
  const SystemModel* current_system_ = nullptr;

  StructureNames structures_;
  RFC_TYPEHANDLE next_type_handle_ = 101;  // never mistaken for a type code
  TableRegistry tables_;
  std::string exception_text_;
};

}  // namespace rfcsim
