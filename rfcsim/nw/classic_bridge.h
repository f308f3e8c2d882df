// The NetWeaver stand-in's way into rfcsim's engine: logons and calls made
// with the classic operations the engine implements (RfcOpen, RfcCall,
// RfcReceive with its own structure installs and internal tables), so that
// both stand-ins answer alike from one landscape, with the same faults,
// delays, latency and record. This header names no SAP type: the classic
// declaration (rfcsim/sap_rfc.h) stays inside classic_bridge.cpp.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rfcsim/landscape.h"
#include "rfcsim/modules.h"
#include "rfcsim/text.h"

namespace rfcsim {
class Engine;
}

namespace rfcsim::nw {

// Logon data in single-byte form. An application server when `ashost` is
// given, else a gateway.
struct LogonRequest {
  std::string ashost;
  int sysnr = 0;
  std::string gwhost;
  std::string gwserv;
  std::string client;
  std::string user;
  std::string password;
  std::string language;
};

struct LogonResult {
  unsigned handle = 0;  // the engine's connection; 0: refused
  ErrorTexts error;     // when refused
  // The system reached, as its index in the landscape (for its wide texts).
  std::optional<std::size_t> system_index;
};

// What a module answered, in the bytes of the classic layouts.
struct ClassicAnswer {
  std::map<std::string, Bytes, std::less<>> importing;
  std::map<std::string, std::vector<Bytes>, std::less<>> tables;
};

struct CallResult {
  int result = 0;  // the classic result: 0, or the failing RfcCall's or RfcReceive's
  // Results 2 and 3: the exception name; nullopt when the fault names none.
  std::optional<std::string> exception;
  ErrorTexts error;  // when result is not 0
  ClassicAnswer answer;
};

class ClassicBridge {
 public:
  // The trace of the engine goes nowhere (the NetWeaver library writes no
  // Dev_Rfc.Trc); `record_path` as RFCSIM_RECORD, empty for none.
  ClassicBridge(Landscape landscape, std::string record_path);
  ~ClassicBridge();
  ClassicBridge(const ClassicBridge&) = delete;
  ClassicBridge& operator=(const ClassicBridge&) = delete;

  LogonResult Open(const LogonRequest& request);
  void Close(unsigned handle);
  // Calls `module` with the texts of its import parameters (by name, in
  // single-byte form) and reads the whole answer.
  CallResult Call(unsigned handle, const ModuleLayout& module,
                  const std::map<std::string, std::string, std::less<>>& imports);

 private:
  ErrorTexts LastError();

  // For what the engine does not hand out: which system a connection
  // reached, and the exception of a failing RfcCall.
  Landscape landscape_;
  std::unique_ptr<Engine> engine_;
  std::map<unsigned, const SystemModel*> systems_;
  std::map<std::string, unsigned, std::less<>> type_handles_;  // installed structures
};

}  // namespace rfcsim::nw
