// The simulated SAP landscape: which systems exist, how they are reached,
// who may log on, what their function modules answer, which operations
// fail on purpose and which ones keep the caller waiting. Loaded once per
// process from a JSON file (see docs/landscape.md for the file's schema).
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rfcsim/text.h"

namespace rfcsim {

// The four texts that RfcLastError hands out.
struct ErrorTexts {
  std::string key;
  std::string status;
  std::string message;
  std::string internal_status;
};

// An operation made to fail. Every text here is already in the sensor's
// single-byte form.
struct Fault {
  std::string operation;        // the whole "at" text, e.g. "RfcCall GET_CPU_ALL"
  std::string verb;             // "RfcCall"
  std::string subject;          // "GET_CPU_ALL"; empty matches every subject
  std::optional<unsigned> row;  // ItGetLine only: the one row that fails
  int result = 1;               // the code a failing RfcCall, RfcReceive, ... returns
  // RfcReceive with result 2 or 3: the exception text; nullopt hands out a
  // null pointer.
  std::optional<std::string> exception;
  // Lines appended to the trace file verbatim; nullopt writes the standard
  // error block around `last_error.message`.
  std::optional<std::vector<std::string>> trace;
  ErrorTexts last_error;
  bool call_error_handler = false;
  // The text the error handler receives; nullopt gives the operation text.
  std::optional<std::string> handler_text;
  // The operation ends the process as a crashing library does instead of
  // failing; none of the above applies then.
  bool crash = false;
};

// An operation made to wait before it goes on as it would (a fault that
// matches it too still applies afterwards). Named as a fault's operation.
struct Delay {
  std::string operation;  // the whole "operation" text, e.g. "RfcReceive GET_CPU_ALL"
  std::string verb;
  std::string subject;  // empty matches every subject
  std::chrono::nanoseconds wait{0};
};

struct Account {
  std::string client;
  std::string user;
  std::string password;
};

// A function module's answer, already in the bytes the caller receives.
struct ModuleAnswer {
  // Importing parameter name -> its bytes (integers in native byte order).
  std::map<std::string, Bytes, std::less<>> importing;
  // Table name -> its rows. A table missing here is not touched.
  std::map<std::string, std::vector<Bytes>, std::less<>> tables;
};

struct SystemModel {
  std::string name;
  std::optional<std::string> ashost;  // absent: not reachable as application server
  int sysnr = 0;
  std::string gwhost;
  std::string gwserv;
  std::vector<Account> accounts;
  std::chrono::milliseconds latency{0};
  std::map<std::string, ModuleAnswer, std::less<>> answers;  // every known module
  std::vector<Fault> faults;
  std::vector<Delay> delays;
};

struct Landscape {
  std::vector<SystemModel> systems;
  // Both apply to every system and to no system.
  std::vector<Fault> faults;
  std::vector<Delay> delays;
};

struct LandscapeLoad {
  Landscape landscape;
  std::string problem;  // empty, or one line saying why the landscape is empty
};

// Reads a landscape document. On any problem the landscape is empty and
// `problem` says why, naming `source` and the place in the document.
LandscapeLoad ParseLandscape(std::string_view json_text, std::string_view source);

// Reads the file at `path`. A missing file gives an empty landscape, with a
// problem only when `must_exist` (the file was named explicitly).
LandscapeLoad LoadLandscapeFile(const std::string& path, bool must_exist);

}  // namespace rfcsim
