#include "driver/listing_run.h"

#include "config/global_listing.h"
#include "config/profile_fields.h"
#include "config/profile_reader.h"
#include "driver/remote_steps.h"
#include "driver/start_up.h"
#include "include/exit_codes.h"
#include "include/texts.h"
#include "measure/database_filling.h"
#include "platform/clock.h"
#include "platform/line_reader.h"
#include "rfc/failure_report.h"
#include "rfc/open_connection.h"

namespace {

// The next entry of the pending systems from `cursor` on: up to its "#", or
// the rest of the text when the last entry lacks it. Moves the cursor past
// it; the text itself is not cut, which would cost a copy of the rest per
// system in a listing of thousands.
std::string TakeEntry(const std::string& pending, std::size_t& cursor) {
  std::size_t hash = pending.find('#', cursor);
  std::size_t end = hash == std::string::npos ? pending.size() : hash;
  std::string entry = pending.substr(cursor, end - cursor);
  cursor = hash == std::string::npos ? pending.size() : hash + 1;
  return entry;
}

std::string DisplayNameOf(const RunState& run, const std::string& entry) {
  switch (run.NamingKind) {
    case '2':
      return entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0);
    case '3':
      return run.Profile.Hostname;
    case '4':
      return run.Profile.Destination;
    default:
      return entry;
  }
}

// Reads the system's profile; false when the file cannot be opened.
bool ReadSystemProfile(RunState& run, const std::string& entry) {
  platform::LineReader reader(run.ProfilePath + entry, config::kListingLineLimit);
  if (!reader.IsOpen()) return false;
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  // Settings read for one system must never reach another: each profile
  // starts from nothing.
  run.Profile = ConnectionProfile{};
  run.SystemFailed = config::ReadProfile(lines, RunKind::kListing, entry, run.Profile);
  if (config::FirstShortField(run.Profile)) run.SystemFailed = true;
  return true;
}

std::string_view StateText(const RunState& run) {
  if (run.SystemFailed || run.StepStatus != kStepOk) return texts::kStateRfcFailure;
  if (!run.DataDelivered) return texts::kStateNotFound;
  return texts::kStateProcessed;
}

void MeasureSystem(RunState& run, RunServices& services, const std::string& entry) {
  run.DisplayName = DisplayNameOf(run, entry);
  run.ScratchText = platform::LocalTimeOfDay();
  const ConnectionProfile& profile = run.Profile;
  run.ConsoleLine = "* " + run.ScratchText + " " + entry + ", " + profile.HostnameDisplay + ", " +
                    profile.Destination + ", " + profile.Sysnr + ", " + profile.Client;
  RegisterErrorReport(services);
  run.Document.Clear();
  run.StepStatus = kStepError;

  run.ConnectionHandle = OpenConnection(run, services);
  if (run.ConnectionHandle == 0) {
    run.SystemFailed = true;
  } else {
    RunCheckedSteps(run, services);
    run.StepStatus = kStepError;
    ReadDatabaseFilling(run, services);
    services.rfc.Close(run.ConnectionHandle);
    run.ConnectionHandle = 0;
  }

  bool processed = !run.SystemFailed && run.StepStatus == kStepOk && run.DataDelivered;
  ++(processed ? run.ProcessedCount : run.FailedCount);
  if (run.ConsoleMode) {
    services.out.Write("\n" + run.ConsoleLine + " State=" + std::string(StateText(run)) + "\n");
  }
}

void PrintSummary(RunState& run, RunServices& services) {
  // A failed filling leaves its failure text behind; it is no part of the
  // summary.
  run.Document.Clear();
  run.Document.OpenResultText();
  run.Document.Append(texts::kSummaryLead);
  run.Document.AppendExternal(run.ItemName);
  run.Document.Append(std::string(texts::kSummarySystems) + std::to_string(run.SystemCount) +
                      std::string(texts::kSummaryProcessed) + std::to_string(run.ProcessedCount) +
                      std::string(texts::kSummaryFailed) + std::to_string(run.FailedCount) + " ");
  run.Document.CloseResultText();
  run.Document.CloseResultDocument();
  services.out.Write(run.Document.Take() + "\n");
}

}  // namespace

int RunListing(RunState& run, RunServices& services) {
  ReadGlobalListing(run);
  if (run.ConsoleMode) services.out.Write(run.ConsoleLine + "\n");
  run.ScratchText = run.ConsoleLine.substr(2, 8);
  run.RunOptionsOriginal = ListingRunOptionsDisplay(run.RunOptionsOriginal);
  if (run.ConsoleMode) {
    services.out.Write("* " + run.ScratchText + " " + run.RunOptionsOriginal +
                       std::string(texts::kStateExecuting) + "\n");
  }
  // Loaded before the document opens: a library that cannot be loaded makes
  // the error document the whole output.
  LoadRfcLibrary(run, services);
  run.Document.OpenResultDocument();
  services.out.Write(run.Document.Take() + "\n");

  for (std::size_t cursor = 0; cursor < run.PendingSystems.size();) {
    run.DataDelivered = false;
    ++run.SystemCount;
    std::string entry = TakeEntry(run.PendingSystems, cursor);
    run.DisplayName = entry;
    if (!ReadSystemProfile(run, entry)) continue;
    MeasureSystem(run, services, entry);
  }
  run.PendingSystems.clear();

  PrintSummary(run, services);
  run.ConsoleLine = "\n* " + platform::LocalTimeOfDay() + " SAP " +
                    std::string(texts::kProgramName) + " now processed...";
  if (run.ConsoleMode) services.out.Write(run.ConsoleLine + "\n");
  return kExitSuccess;
}
