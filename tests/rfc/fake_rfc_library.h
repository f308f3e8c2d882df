// A scripted stand-in for the RFC library: tests say what each operation
// answers (codes, exception names, rows, importing values, failures) and
// read back what the program passed, copied at the moment of the call.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "rfc/rfc_library.h"

namespace fake {

struct Parameter {
  std::string name;
  unsigned name_length;
  unsigned type;
  unsigned length;
  std::string value;  // the field's bytes when the call was made

  bool operator==(const Parameter&) const = default;
};

struct Table {
  std::string name;
  unsigned name_length;
  RfcTypeHandle type;
  std::string created_as;  // the name the table was created with

  bool operator==(const Table&) const = default;
};

struct Element {
  std::string name;
  unsigned type;
  unsigned length;
  unsigned decimals;
  unsigned offset;

  bool operator==(const Element&) const = default;
};

struct Structure {
  std::string name;
  std::vector<Element> elements;
};

struct RemoteCall {
  RfcHandle handle = 0;
  std::string function;
  std::vector<Parameter> exporting;
  std::vector<Table> tables;
  const RfcTable* table_list = nullptr;
  bool received = false;
  std::vector<Parameter> importing;
  const RfcTable* receive_table_list = nullptr;
};

// RfcOpen's records, copied; absent texts stay empty optionals.
struct OpenRecord {
  std::optional<std::string> destination;
  int mode;
  std::optional<std::string> client;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> language;
  int trace;
  // ServerAddress (mode 0) or GatewayAddress (mode 1)
  std::optional<std::string> host;
  int system_number = 0;
  std::optional<std::string> gateway_host;
  std::optional<std::string> gateway_service;
};

class FakeRfcLibrary : public rfc::RfcLibrary {
 public:
  // --- The script ---------------------------------------------------------
  RfcHandle open_handle = 7;
  std::map<std::string, int> call_result;     // by function; 0 when missing
  std::map<std::string, int> receive_result;  // by function; 0 when missing
  // By function: the exception name RfcReceive reports (nullopt: a null one).
  std::map<std::string, std::optional<std::string>> exception;
  // By table name: the rows a successful receive puts into the table, each
  // cut or zero-padded to the table's row length.
  std::map<std::string, std::vector<std::string>> rows;
  // By importing parameter name: bytes a successful receive writes into the
  // caller's field (at most the field's length).
  std::map<std::string, std::string> importing_answer;
  std::set<std::string> failing_structures;
  std::set<std::string> failing_creates;
  std::map<std::string, unsigned> failing_row;  // table name -> row number
  std::set<std::string> failing_deletes;
  RfcErrorInfo last_error{};

  // --- What happened ------------------------------------------------------
  // One entry per operation, e.g. "ItCreate TF_CPU_ALL 48", "RfcCall
  // GET_CPU_ALL", "RfcReceive", "ItFill DEVSTAT", "ItGetLine DEVSTAT 1",
  // "ItDelete DEVSTAT", "RfcInstallStructure CPU_ALL", "RfcClose 0".
  std::vector<std::string> log;
  std::vector<Structure> structures;
  std::vector<RemoteCall> calls;
  std::optional<OpenRecord> open;
  const OpenOptions* open_options = nullptr;  // as passed, to look at later
  std::optional<std::string> open_ex_text;
  RfcErrorHandler error_handler = nullptr;
  bool last_error_record_was_zeroed = false;

  // How often `entry` appears in the log.
  int Count(const std::string& entry) const;
  // How many tables named `name` were created (failed creations not counted).
  int Created(const std::string& name) const;
  // The log entries that begin with `prefix`.
  std::vector<std::string> LogOf(const std::string& prefix) const;

  // --- The library ----------------------------------------------------------
  void Environment(RfcErrorHandler handler) override;
  RfcHandle Open(OpenOptions* options) override;
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override;
  void Close(RfcHandle handle) override;
  int LastError(RfcErrorInfo* error_info) override;
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override;
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* tables) override;
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception_name) override;
  ItabHandle ItCreate(const char* name, unsigned row_length) override;
  unsigned ItFill(ItabHandle table) override;
  void* ItGetLine(ItabHandle table, unsigned row) override;
  int ItDelete(ItabHandle table) override;

 private:
  struct InternalTable {
    std::string name;
    unsigned row_length;
    std::vector<std::string> rows;
    bool deleted = false;
  };
  InternalTable* Find(ItabHandle table, const char* operation);

  std::deque<InternalTable> tables_;  // stable addresses: they are the handles
  RfcTypeHandle next_type_ = 100;
  std::string current_function_;
  std::string exception_text_;
};

}  // namespace fake
