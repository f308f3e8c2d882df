#include "driver/single_system_run.h"

#include "config/profile_reader.h"
#include "driver/remote_steps.h"
#include "driver/start_up.h"
#include "include/exit_codes.h"
#include "include/run_end.h"
#include "include/texts.h"
#include "measure/database_filling.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/line_reader.h"
#include "rfc/failure_report.h"
#include "rfc/open_connection.h"
#include "rfc/trace_line.h"

namespace {

void ReadProfileFile(RunState& run) {
  platform::LineReader reader(run.ProfilePath, config::kSingleSystemLineLimit);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  config::ReadProfile(lines, RunKind::kSingleSystem, run.ProfileName, run.Profile);
}

void PrintOpeningLines(RunState& run, RunServices& services) {
  services.out.Write(run.ConsoleLine + "\n");
  run.ScratchText = platform::LocalTimeOfDay();
  const ConnectionProfile& profile = run.Profile;
  run.ConsoleLine = "* " + run.ScratchText + " " + run.ProfileName + ", " +
                    profile.HostnameDisplay + ", " + profile.Destination + ", " + profile.Sysnr +
                    ", " + profile.Client + std::string(texts::kStateProcessing);
  services.out.Write(run.ConsoleLine + "\n");
  run.ConsoleLine = "* " + run.ScratchText + " " + std::string(texts::kProgramName) + " - " +
                    SingleRunOptionsDisplay(run.RunOptionsOriginal) +
                    std::string(texts::kStateExecuting);
  services.out.Write(run.ConsoleLine + "\n");
}

}  // namespace

int RunSingleSystem(RunState& run, RunServices& services) {
  ReadProfileFile(run);
  LoadRfcLibrary(run, services);
  WriteTraceLine(run, services, 0, trace_events::kProgramStarted, run.ProgramPath);
  RegisterErrorReport(services);
  WriteTraceLine(run, services, 0, trace_events::kEnvironmentCalled, "");
  run.Document.Clear();
  run.StepStatus = kStepError;
  if (run.ConsoleMode) PrintOpeningLines(run, services);

  run.ConnectionHandle = OpenConnection(run, services);
  if (run.ConnectionHandle == 0) {
    throw ErrorDocumentExit(std::string(texts::kError1011Prefix) + run.Profile.Destination +
                            std::string(texts::kError1011Suffix));
  }

  RunCheckedSteps(run, services);

  run.StepStatus = kStepError;
  ReadDatabaseFilling(run, services);
  services.rfc.Close(run.ConnectionHandle);
  run.ConnectionHandle = 0;
  if (run.StepStatus != kStepOk) FailStep(run, services, false);

  services.out.Write(run.Document.Take());
  // The library's trace is kept after a failure, for the operator.
  platform::RemoveFile(file_names::kTraceFile);
  if (run.ConsoleMode) {
    run.ConsoleLine = "\n* " + platform::LocalTimeOfDay() + " SAP " +
                      std::string(texts::kProgramName) + " now processed...";
    services.out.Write(run.ConsoleLine + "\n");
  }
  return kExitSuccess;
}
