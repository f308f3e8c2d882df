// An RfcLibrary for running the whole sensor under the fuzzer: in memory,
// deterministic, and strict about the library's contract.
//
// Every byte it hands out (importing parameters, table rows, exception
// names, the last error, the trace file a failure leaves) comes from the
// script's answer bytes while they last and from a healthy MaxDB system's
// answer after that, so that a short input runs the whole measurement. One
// operation, chosen by the script, fails.
//
// Misuse that the real library would answer with a crash or worse (an
// unknown or deleted internal table, a call on a connection that is not
// open, an unexpected logon mode, a table still alive at the end of the run)
// aborts, so that the fuzzer reports it. Parameter and row buffers are read
// and written over the exact length the sensor declares, for the sanitizers
// to see. The error handler the sensor registers is never called: it ends
// the process.
#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rfc/rfc_library.h"

namespace fuzz {

struct LibraryScript {
  // The operation that fails, counted from 1 over Open, OpenEx,
  // InstallStructure, Call, Receive, ItCreate, ItGetLine and ItDelete in the
  // order the sensor calls them; 0: none fails.
  unsigned failing_operation = 0;
  // What a failing Call or Receive returns: 1, 2, 3 or any other code.
  int failure_code = kRfcFailure;
  // A failing Receive with code 2 or 3 hands out no exception name at all.
  bool null_exception = false;
  // A failure leaves the trace file "Dev_Rfc.Trc" in the working directory.
  bool writes_trace_file = true;
  // Rows of DEVSTAT in the answer of ADA_DB_FILLING.
  unsigned filling_rows = 1;
  // Handed out first.
  std::string_view answer;
};

class ScriptedRfcLibrary final : public rfc::RfcLibrary {
 public:
  explicit ScriptedRfcLibrary(const LibraryScript& script);
  ~ScriptedRfcLibrary() override;

  // Internal tables neither deleted nor given up by a failed ItDelete.
  std::size_t LiveTables() const;

  void Environment(RfcErrorHandler error_handler) override;
  RfcHandle Open(OpenOptions* options) override;
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override;
  void Close(RfcHandle handle) override;
  int LastError(RfcErrorInfo* error_info) override;
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override;
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* tables) override;
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception) override;
  ItabHandle ItCreate(const char* name, unsigned row_length) override;
  unsigned ItFill(ItabHandle table) override;
  void* ItGetLine(ItabHandle table, unsigned row) override;
  int ItDelete(ItabHandle table) override;

 private:
  struct Table;

  // Counts the operation; true when it is the one that fails.
  bool Fails();
  // What a failing operation leaves: the trace file, when the script wants
  // one, made of the answer bytes that remain (or a plain failure record).
  void LeaveTrace();
  // `size` bytes into `out`: answer bytes first, then `fallback` (then 0).
  void HandOut(unsigned char* out, std::size_t size, std::span<const unsigned char> fallback);
  void HandOutText(char* out, std::size_t size, std::string_view fallback);
  Table& LiveTable(ItabHandle handle);
  void RequireOpen(RfcHandle handle) const;
  void FillTable(Table& table, std::size_t rows, std::span<const unsigned char> fallback);

  LibraryScript script_;
  std::string_view answer_;
  unsigned operations_ = 0;
  std::set<RfcHandle> open_;
  RfcHandle next_handle_ = 0;
  RfcTypeHandle next_type_ = 0;
  std::vector<std::unique_ptr<Table>> tables_;
  std::string exception_;
  std::string pending_function_;
};

}  // namespace fuzz
