#include "driver/remote_steps.h"

#include <optional>
#include <string_view>
#include <utility>

#include "driver/run_end.h"
#include "output/exit_codes.h"
#include "output/texts.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/process_end.h"
#include "rfc/failure_report.h"
#include "rfc/open_connection.h"
#include "rfc/return_code_text.h"
#include "rfc/system_info.h"
#include "rfc/trace_line.h"

namespace driver {

rfc::TraceWriter RunTrace(const RunState& run, RunServices& services) {
  if (!run.Options.syslog) return {};
  return [&err = services.err](std::string_view line) {
    err.Write(line);
    err.Flush();
  };
}

void LoadRfcLibrary(RunServices& services, const rfc::TraceWriter& trace) {
  if (std::optional<rfc::LibraryLoadFailure> failure = services.rfc.Load()) {
    throw ErrorDocumentExit(std::string(output::texts::kError1031Prefix) + failure->file +
                            std::string(output::texts::kError1031Middle) + failure->reason);
  }
  if (const std::string file = services.rfc.LoadedFile(); !file.empty()) {
    rfc::WriteTraceLine(trace, 0, rfc::trace_events::kLibraryLoaded, file);
  }
}

int PrintRfcError(RunServices& services, output::ResultDocument& document,
                  const rfc::LibraryFailure& failure) {
  int code = output::kExitRfcError;
  if (document.Streams()) {
    services.out.End(rfc::RfcErrorReport(failure), code);
  } else if (document.Relays()) {
    services.out.End(rfc::RfcErrorLine(failure), code);
  } else {
    document.WriteErrorDocument(rfc::RfcErrorLine(failure));
    code = document.ExitCode(output::kExitRfcError);
    services.out.End(document.Take(), code);
  }
  services.err.Write(rfc::RfcAbortLogLine());
  services.err.Flush();
  return code;
}

void PrepareErrorReport(RunServices& services, output::ResultDocument& document) {
  services.rfc.PrepareErrorReport([&services, &document](const rfc::LibraryFailure& failure) {
    // The library ends the process with 1 when the report returns.
    if (const int code = PrintRfcError(services, document, failure);
        code != output::kExitRfcError) {
      platform::EndProcessNow(code);
    }
  });
}

namespace {

// Error 1034 for a password the library cannot be handed whole, naming
// where it came from: the monitor's variable, or the destination's profile.
std::string PasswordRefusalText(const RunState& run, const config::ConnectionProfile& profile,
                                rfc::PasswordRefusal refusal) {
  std::string text(output::texts::kError1034Prefix);
  if (run.MonitorLogon) {
    text.append(run.MonitorLogon->password_variable);
  } else {
    text.append(output::texts::kPasswordFor).append(profile.Destination);
  }
  return text.append(refusal == rfc::PasswordRefusal::kBlankInConnectionText
                         ? output::texts::kPasswordHoldsBlank
                         : output::texts::kPasswordOutsideCodePage);
}

}  // namespace

std::unique_ptr<rfc::SapConnection> LogOn(const RunState& run,
                                          const config::ConnectionProfile& profile,
                                          RunServices& services, const rfc::TraceWriter& trace) {
  const rfc::AddressLogon address{
      profile.Destination,
      profile.Client,
      run.MonitorLogon ? run.MonitorLogon->user : profile.User,
      run.MonitorLogon ? run.MonitorLogon->password : platform::SystemText(profile.Password),
      profile.Language,
      profile.Mode,
      run.Options.host.value_or(profile.Hostname),
      run.Options.system_number.value_or(profile.Sysnr),
      profile.Gwhost,
      profile.Gwservice};
  std::function<void(std::string_view)> console;
  if (run.Options.console) {
    console = [&out = services.out](std::string_view line) { out.Write(line); };
  }
  ReportStep(services, profile.Destination, std::string(output::texts::kStepLogon));
  const std::optional<rfc::Logon> logon = rfc::PrepareLogon(address, console);
  if (!logon) return nullptr;
  if (const std::optional<rfc::PasswordRefusal> refusal = services.rfc.RefusedPassword(*logon)) {
    throw ErrorDocumentExit(PasswordRefusalText(run, profile, *refusal));
  }
  return services.rfc.Open(*logon, trace);
}

template <class Answer>
Answer AnswerOrEnd(rfc::StepResult<Answer> result) {
  if (auto* failure = std::get_if<rfc::RemoteFailure>(&result)) {
    throw ErrorDocumentExit(rfc::FailureText(*failure));
  }
  if (auto* failure = std::get_if<rfc::LibraryFailure>(&result)) {
    throw RfcAbort(std::move(*failure));
  }
  return std::get<Answer>(std::move(result));
}

template rfc::FillingRead AnswerOrEnd(rfc::StepResult<rfc::FillingRead> result);

void RunCheckedSteps(RunServices& services, rfc::SapConnection& connection,
                     config::ConnectionProfile& profile) {
  ReportStep(services, profile.Destination, "GET_CPU_ALL");
  AnswerOrEnd(connection.Probe());
  ReportStep(services, profile.Destination, "RFC_SYSTEM_INFO");
  const rfc::SystemInfo info = AnswerOrEnd(connection.ReadSystemInfo());
  profile.HostnameDisplay = info.host;
  if (!rfc::IsMaxDb(info.database_system)) {
    throw ErrorDocumentExit(std::string(output::texts::kError1018));
  }
}

std::string ProcessedLine() {
  return "\n* " + platform::LocalTimeOfDay() + " SAP " + std::string(output::texts::kProgramName) +
         " now processed...\n";
}

}  // namespace driver
