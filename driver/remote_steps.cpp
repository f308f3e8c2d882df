#include "driver/remote_steps.h"

#include <optional>

#include "include/run_end.h"
#include "include/texts.h"
#include "rfc/connection_probe.h"
#include "rfc/system_info.h"
#include "rfc/trace_file_scan.h"
#include "rfc/trace_line.h"

void LoadRfcLibrary(const RunState& run, RunServices& services) {
  if (std::optional<rfc::LibraryLoadFailure> failure = services.rfc.Load()) {
    throw ErrorDocumentExit(std::string(texts::kError1031Prefix) + failure->file +
                            std::string(texts::kError1031Middle) + failure->reason);
  }
  if (const std::string file = services.rfc.LoadedFile(); !file.empty()) {
    WriteTraceLine(run, services, 0, trace_events::kLibraryLoaded, file);
  }
}

void FailStep(RunState& run, RunServices& services, bool close_connection) {
  ScanTraceFile(run);
  std::string message = run.Document.text();
  if (close_connection && run.ConnectionHandle != 0) {
    services.rfc.Close(run.ConnectionHandle);
    run.ConnectionHandle = 0;
  }
  throw ErrorDocumentExit(message);
}

void RunCheckedSteps(RunState& run, RunServices& services) {
  run.StepStatus = kStepError;
  ProbeServer(run, services);
  if (run.StepStatus != kStepOk) FailStep(run, services, true);

  run.StepStatus = kStepError;
  ReadSystemInfo(run, services);
  if (run.StepStatus != kStepOk) FailStep(run, services, true);

  if (!IsMaxDb(run.DatabaseSystemName)) {
    services.rfc.Close(run.ConnectionHandle);
    run.ConnectionHandle = 0;
    throw ErrorDocumentExit(std::string(texts::kError1018));
  }
}
