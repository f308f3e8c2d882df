#include "driver/single_system_run.h"
#include "rfc/library_files.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "config/profile_reader.h"
#include "driver/filling_forecast.h"
#include "driver/remote_steps.h"
#include "driver/run_end.h"
#include "measure/filling_report.h"
#include "output/exit_codes.h"
#include "output/texts.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/line_reader.h"
#include "rfc/trace_line.h"

namespace driver {

namespace {

config::ConnectionProfile ReadProfileFile(const RunState& run) {
  config::ProfileReading reading =
      config::ReadProfile(platform::ReadLines(run.ProfilePath, config::kSingleSystemLineLimit)
                              .value_or(std::vector<std::string>{}),
                          CredentialsOf(run));
  if (!reading.defects.empty()) {
    throw ErrorDocumentExit(config::DefectMessage(reading.defects.front(), run.ProfileName));
  }
  return std::move(reading.profile);
}

void PrintOpeningLines(const RunState& run, RunServices& services,
                       const config::ConnectionProfile& profile) {
  services.out.Write(run.Banner + "\n");
  const std::string time = platform::LocalTimeOfDay();
  services.out.Write("* " + time + " " + run.ProfileName + ", " + profile.HostnameDisplay + ", " +
                     profile.Destination + ", " + profile.Sysnr + ", " + profile.Client +
                     std::string(output::texts::kStateProcessing) + "\n");
  services.out.Write("* " + time + " " + std::string(output::texts::kProgramName) + " - " +
                     run.Options.single_run_display + std::string(output::texts::kStateExecuting) +
                     "\n");
}

// Reads the filling and returns the result document; the first DEVSTAT row
// is the measurement (its text line printed at once, its nine channels left
// in the document), later rows are read but ignored: one document carries
// one measurement. A forecast waits for the filling read whole: its
// history's trouble goes into the text line, its channel after the nine.
// Without a row the document still gets its opening: a closing alone is no
// document a monitor can read. A failed filling ends the run after the
// logoff.
std::string MeasureFilling(RunState& run, RunServices& services,
                           const config::ConnectionProfile& profile, const rfc::TraceWriter& trace,
                           std::unique_ptr<rfc::SapConnection>& connection) {
  ReportStep(services, profile.Destination, "ADA_DB_FILLING");
  // Held until it is whole: a deadline replaces an unfinished document.
  services.out.HoldDocument();
  const std::optional<int> forecast_days = run.Options.forecast_days;
  std::optional<rfc::FillingRow> measured;
  rfc::StepResult<rfc::FillingRead> read = connection->ReadFilling([&](const rfc::FillingRow& row) {
    if (measured) return;
    measured = row;
    if (!forecast_days) {
      measure::ReportFillingRow(run.Document, services.out, profile.Destination, row,
                                run.Options.limits);
    }
  });
  if (!std::holds_alternative<rfc::FillingRead>(read)) {
    connection.reset();
    AnswerOrEnd(std::move(read));
  }
  if (!measured) {
    run.Document.OpenResultDocument();
  } else if (forecast_days) {
    const measure::ForecastResult forecast =
        ForecastDaysUntilFull(HistoryPathOf(run.ProfilePath), *measured, *forecast_days, trace);
    measure::ReportFillingRow(run.Document, services.out, profile.Destination, *measured,
                              run.Options.limits, forecast.trouble);
    measure::ReportDaysUntilFull(run.Document, forecast.days_until_full,
                                 forecast.trouble.has_value());
  }
  run.Document.CloseResultDocument();
  return run.Document.Take();
}

}  // namespace

int RunSingleSystem(RunState& run, RunServices& services) {
  config::ConnectionProfile profile = ReadProfileFile(run);
  const rfc::TraceWriter trace = RunTrace(run, services);
  LoadRfcLibrary(services, trace);
  rfc::WriteTraceLine(trace, 0, rfc::trace_events::kProgramStarted, run.ProgramPath);
  PrepareErrorReport(services, run.Document);
  rfc::WriteTraceLine(trace, 0, rfc::trace_events::kEnvironmentCalled, "");
  run.Document.Clear();
  if (run.Options.console) PrintOpeningLines(run, services, profile);

  std::unique_ptr<rfc::SapConnection> connection = LogOn(run, profile, services, trace);
  if (!connection) {
    throw ErrorDocumentExit(std::string(output::texts::kError1011Prefix) + profile.Destination +
                            std::string(output::texts::kError1011Suffix));
  }
  RunCheckedSteps(services, *connection, profile);
  const std::string document = MeasureFilling(run, services, profile, trace, connection);

  // The logoff comes before the answer; under a deadline after it, so that
  // a logoff that hangs cannot cost a complete measurement: the deadline
  // then finds the output ended and the process ends with exit code 0.
  const bool answer_first = services.progress != nullptr;
  if (!answer_first) connection.reset();
  const int code = run.Document.ExitCode(output::kExitSuccess);
  services.out.End(document + (run.Options.console ? ProcessedLine() : ""), code);
  connection.reset();
  // The library's trace is kept after a failure, for the operator; and
  // after a logoff that never came back.
  platform::RemoveFile(rfc::TraceFilePath());
  return code;
}

}  // namespace driver
