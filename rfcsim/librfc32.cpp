// The library's C functions, each forwarded to the process-wide engine:
// linked into the Linux sensor, and exported by librfc32.dll on Windows
// (librfc32.def). No exception may leave through a C function: each one that
// escapes the engine (memory exhausted) turns into the operation's failure
// result.
#include "rfcsim/process_engine.h"
#include "rfcsim/sap_rfc.h"

namespace rfcsim {
namespace {

// Lives until the process ends, never destroyed: the sensor's error handler
// ends the process from inside an engine call, and code running at exit may
// still call the library.
Engine* process_engine = nullptr;

template <typename Result, typename Body>
Result Guarded(Result on_exception, Body body) noexcept {
  try {
    return body(ProcessEngine());
  } catch (...) {
    return on_exception;
  }
}

template <typename Body>
void Guarded(Body body) noexcept {
  try {
    body(ProcessEngine());
  } catch (...) {
  }
}

}  // namespace

Engine& ProcessEngine() {
  if (!process_engine) process_engine = EngineFromEnvironment().release();
  return *process_engine;
}

void InstallProcessEngine(std::unique_ptr<Engine> engine) {
  delete process_engine;
  process_engine = engine.release();
}

}  // namespace rfcsim

using rfcsim::Engine;
using rfcsim::Guarded;

extern "C" {

void SAP_API RfcEnvironment(RFC_ENV* new_env) {
  Guarded([&](Engine& engine) { engine.Environment(new_env); });
}

RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  return Guarded(RFC_HANDLE{0}, [&](Engine& engine) { return engine.Open(options); });
}

RFC_HANDLE SAP_API RfcOpenEx(const rfc_char_t* connect_param, RFC_ERROR_INFO_EX* error_info) {
  return Guarded(RFC_HANDLE{0},
                 [&](Engine& engine) { return engine.OpenEx(connect_param, error_info); });
}

void SAP_API RfcClose(RFC_HANDLE handle) {
  Guarded([&](Engine& engine) { engine.Close(handle); });
}

int SAP_API RfcLastError(RFC_ERROR_INFO* error_info) {
  return Guarded(1, [&](Engine& engine) { return engine.LastError(error_info); });
}

// The engine's results are ints, any int a landscape's fault names; RFC_RC
// holds every int.
RFC_RC SAP_API RfcInstallStructure(const rfc_char_t* name, RFC_TYPE_ELEMENT* elements,
                                   unsigned entries, RFC_TYPEHANDLE* pTypeHandle) {
  return static_cast<RFC_RC>(Guarded(1, [&](Engine& engine) {
    return engine.InstallStructure(name, elements, entries, pTypeHandle);
  }));
}

RFC_RC SAP_API RfcCall(RFC_HANDLE handle, const rfc_char_t* function, RFC_PARAMETER* parameters,
                       RFC_TABLE* tables) {
  return static_cast<RFC_RC>(Guarded(
      1, [&](Engine& engine) { return engine.Call(handle, function, parameters, tables); }));
}

RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* parameters, RFC_TABLE* tables,
                          rfc_char_t** exception) {
  return static_cast<RFC_RC>(Guarded(
      1, [&](Engine& engine) { return engine.Receive(handle, parameters, tables, exception); }));
}

ITAB_H SAP_API ItCreate(const rfc_char_t* name, unsigned leng, unsigned occu, unsigned memo) {
  return Guarded(ITAB_H{nullptr},
                 [&](Engine& engine) { return engine.CreateTable(name, leng, occu, memo); });
}

unsigned SAP_API ItFill(ITAB_H itab) {
  return Guarded(0u, [&](Engine& engine) { return engine.TableFill(itab); });
}

void* SAP_API ItGetLine(ITAB_H itab, unsigned line) {
  return Guarded(static_cast<void*>(nullptr),
                 [&](Engine& engine) { return engine.TableLine(itab, line); });
}

int SAP_API ItDelete(ITAB_H itab) {
  return Guarded(1, [&](Engine& engine) { return engine.DeleteTable(itab); });
}

}  // extern "C"
