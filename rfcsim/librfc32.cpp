// The library's C functions, each forwarded to the process-wide engine.
// No exception may leave through a C function: each one that escapes the
// engine (memory exhausted) turns into the operation's failure result.
#include "rfc/rfc_api.h"
#include "rfcsim/process_engine.h"

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

void BW_RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment) {
  Guarded([&](Engine& engine) { engine.Environment(environment); });
}

RfcHandle BW_RFC_CALL RfcOpen(OpenOptions* options) {
  return Guarded(RfcHandle{0}, [&](Engine& engine) { return engine.Open(options); });
}

RfcHandle BW_RFC_CALL RfcOpenEx(const char* connection_text, RfcErrorInfo* error_info) {
  return Guarded(RfcHandle{0},
                 [&](Engine& engine) { return engine.OpenEx(connection_text, error_info); });
}

void BW_RFC_CALL RfcClose(RfcHandle handle) {
  Guarded([&](Engine& engine) { engine.Close(handle); });
}

int BW_RFC_CALL RfcLastError(RfcErrorInfo* error_info) {
  return Guarded(1, [&](Engine& engine) { return engine.LastError(error_info); });
}

int BW_RFC_CALL RfcInstallStructure(const char* name, const RfcTypeElement* elements,
                                    unsigned element_count, RfcTypeHandle* type_handle) {
  return Guarded(1, [&](Engine& engine) {
    return engine.InstallStructure(name, elements, element_count, type_handle);
  });
}

int BW_RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                        RfcTable* tables) {
  return Guarded(1,
                 [&](Engine& engine) { return engine.Call(handle, function, exporting, tables); });
}

int BW_RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                           char** exception) {
  return Guarded(
      1, [&](Engine& engine) { return engine.Receive(handle, importing, tables, exception); });
}

ItabHandle BW_RFC_CALL ItCreate(const char* name, unsigned row_length, unsigned occurs,
                                unsigned memory) {
  return Guarded(ItabHandle{nullptr}, [&](Engine& engine) {
    return engine.CreateTable(name, row_length, occurs, memory);
  });
}

unsigned BW_RFC_CALL ItFill(ItabHandle table) {
  return Guarded(0u, [&](Engine& engine) { return engine.TableFill(table); });
}

void* BW_RFC_CALL ItGetLine(ItabHandle table, unsigned row) {
  return Guarded(static_cast<void*>(nullptr),
                 [&](Engine& engine) { return engine.TableLine(table, row); });
}

int BW_RFC_CALL ItDelete(ItabHandle table) {
  return Guarded(1, [&](Engine& engine) { return engine.DeleteTable(table); });
}

}  // extern "C"
