// What the sensor does with an SAP system, as one seam: log on, then on the
// open connection the three remote steps. Each step returns its typed
// answer or a failure value; nothing below here prints a document or ends
// the run. Two libraries stand behind it: SAP's classic librfc32 (the
// twelve operations, classic_backend.h) and the NetWeaver RFC SDK's
// sapnwrfc.dll (netweaver/). Tests hand in fakes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/environment.h"
#include "rfc/filling_row.h"

namespace rfc {

// A remote step that the system or the connection refused: the classic
// return code (1 communication or system failure, 2 ABAP exception,
// 3 system exception, anything else "other"), the exception name or key
// for 2 and 3 (at most 255 characters), and the library's message.
struct RemoteFailure {
  int code = 1;
  std::string exception;
  // The library's words for the cause; empty when it gave none.
  std::string message;
  // The classic library's trace file, where its message is read, was not
  // there: the failure text then asks the operator to look for it.
  bool trace_file_missing = false;

  bool operator==(const RemoteFailure&) const = default;
};

// An operation of the library itself failed (a structure, an internal
// table): there is no way on, and the run ends with the RFC error report
// built from these fields, read from the library at once.
struct LibraryFailure {
  std::string operation;
  std::string key;
  std::string status;
  std::string message;
  std::string internal_status;

  bool operator==(const LibraryFailure&) const = default;
};

template <class Answer>
using StepResult = std::variant<Answer, RemoteFailure, LibraryFailure>;

// GET_CPU_ALL answered; its values are not needed.
struct ProbeAnswer {
  bool operator==(const ProbeAnswer&) const = default;
};

// The two fields of RFC_SYSTEM_INFO's RFCSI the sensor keeps, each up to a
// NUL within its field.
struct SystemInfo {
  std::string database_system;  // RFCDBSYS
  std::string host;             // RFCHOST

  bool operator==(const SystemInfo&) const = default;
};

// ADA_DB_FILLING answered; its DEVSTAT rows went to the row handler.
struct FillingRead {
  unsigned rows = 0;

  bool operator==(const FillingRead&) const = default;
};

// Receives each DEVSTAT row as soon as it is read, in order: what was
// reported before a later row failed stays reported.
using FillingRowHandler = std::function<void(const FillingRow&)>;

// One open connection. Destroying it closes it.
class SapConnection {
 public:
  virtual ~SapConnection() = default;
  virtual StepResult<ProbeAnswer> Probe() = 0;
  virtual StepResult<SystemInfo> ReadSystemInfo() = 0;
  virtual StepResult<FillingRead> ReadFilling(const FillingRowHandler& each_row) = 0;
};

// Logon through the profile's address: application server and system
// number, or gateway host and service for mode "R/2". Host and system
// number are those of the profile unless the options override them.
// The password is the profile's, in the bytes it is stored in, or the
// monitor's, as the environment hands it over; each library takes it whole
// in its own form.
struct AddressLogon {
  std::string destination;
  std::string client;
  std::string user;
  platform::SystemText password;
  std::string language;
  std::string mode;
  std::string host;
  std::string system_number;
  std::string gateway_host;
  std::string gateway_service;
};

// Logon through the entry `destination` of the library's "SapRfc.ini",
// which the caller has put in place; the texts as the profile holds them.
struct DestinationLogon {
  std::string client;
  std::string user;
  platform::SystemText password;
  std::string destination;
};

using Logon = std::variant<AddressLogon, DestinationLogon>;

// Why a library cannot be handed a logon's password whole; a password is
// never sent in part or changed.
enum class PasswordRefusal {
  // The connection text of a destination file's logon parts its words at
  // blanks and tabs, and SAP documents no quoting for a value that holds one.
  kBlankInConnectionText,
  // The library takes single bytes of the ANSI code page, which lacks one
  // of its characters.
  kOutsideCodePage,
};

// Where ",SYSLOG" trace lines go: one call per line, the line ending in a
// line feed. Empty when the run traces nothing.
using TraceWriter = std::function<void(std::string_view line)>;

// Why the library could not be made ready: the file tried (the library's
// plain name when none was found) and the reason, as Error 1031 shows them.
struct LibraryLoadFailure {
  std::string file;
  std::string reason;
};

class SapLibrary {
 public:
  virtual ~SapLibrary() = default;
  // Makes the library ready; called once, before anything else, and only by
  // a run that gets as far as needing it (a configuration error never loads
  // it). A library linked into the program has nothing to do.
  virtual std::optional<LibraryLoadFailure> Load() { return std::nullopt; }
  // The file the library was loaded from, once Load has succeeded; empty
  // for a library linked into the program.
  virtual std::string LoadedFile() const { return {}; }
  // Hands the library the way out for an error it cannot return from (the
  // classic RfcEnvironment handler): `report_and_end` gets the failure, as
  // read from the library, and must not return. A library without such
  // errors keeps it unused.
  virtual void PrepareErrorReport(std::function<void(const LibraryFailure&)> report_and_end) = 0;
  // Asked before Open: why this library could not be handed the password
  // of `logon` whole; nothing when it can. Every library answers for
  // itself, and a library that stands for another asks it.
  virtual std::optional<PasswordRefusal> RefusedPassword(const Logon& logon) const = 0;
  // Logs on; no connection when the library opened none.
  virtual std::unique_ptr<SapConnection> Open(const Logon& logon, const TraceWriter& trace) = 0;
};

}  // namespace rfc
