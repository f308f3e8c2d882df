#include "driver/listing_run.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/file_names.h"
#include "config/global_listing.h"
#include "config/profile_reader.h"
#include "driver/filling_forecast.h"
#include "driver/remote_steps.h"
#include "driver/run_end.h"
#include "measure/filling_channels.h"
#include "measure/filling_report.h"
#include "output/exit_codes.h"
#include "output/texts.h"
#include "platform/clock.h"
#include "platform/line_reader.h"

namespace driver {

namespace {

// The systems counted so far.
struct Tally {
  std::uint32_t systems = 0;
  std::uint32_t processed = 0;
  std::uint32_t failed = 0;
  // The forecasts' troubles with their histories, for the summary.
  std::vector<std::string> forecast_troubles;
};

// One listed system while it is measured.
struct ListedSystem {
  std::string entry;  // the profile file's name as listed
  config::ConnectionProfile profile;
  bool failed = false;     // a defective profile, a failed logon or filling
  bool delivered = false;  // its filling held the listing's item
};

config::ListingPlan ReadListing(const RunState& run) {
  const bool global = run.ProfileName == config::file_names::kGlobalListing;
  // Listings are read with the line limit of the listing run.
  const std::optional<std::vector<std::string>> lines =
      platform::ReadLines(run.ProfilePath, config::kListingLineLimit);
  if (!lines) {
    throw ErrorDocumentExit(
        std::string(global ? output::texts::kError10x1Prefix : output::texts::kError1024Prefix) +
        run.ProfileName +
        std::string(global ? output::texts::kError10x1Suffix : output::texts::kError1024Suffix));
  }
  if (!global) return CheckedOrEnd(config::ReadItemListing(*lines, run.ItemName));
  const std::string sensor_argument = run.Arguments.size() > 1 ? run.Arguments[1] : "";
  return CheckedOrEnd(config::ReadGlobalListing(*lines, run.Options.upper, sensor_argument));
}

std::string DisplayNameOf(config::NamingKind naming, const ListedSystem& system) {
  const std::string& entry = system.entry;
  switch (naming) {
    case config::NamingKind::kAlias:
      return entry.substr(0, entry.size() >= 4 ? entry.size() - 4 : 0);
    case config::NamingKind::kHost:
      return system.profile.Hostname;
    case config::NamingKind::kSid:
      return system.profile.Destination;
    case config::NamingKind::kProfile:
      break;
  }
  return entry;
}

// Reads the system's profile from the listing's directory; nothing when the
// file cannot be opened. A defective profile fails the system, but its
// logon is still tried.
std::optional<ListedSystem> ReadSystemProfile(const RunState& run, const std::string& entry) {
  std::optional<std::vector<std::string>> lines =
      platform::ReadLines(run.ProfileDirectory + entry, config::kListingLineLimit);
  if (!lines) return std::nullopt;
  config::ProfileReading reading = config::ReadProfile(*lines, CredentialsOf(run));
  return ListedSystem{entry, std::move(reading.profile), !reading.defects.empty(), false};
}

std::string_view StateText(const ListedSystem& system) {
  if (system.failed) return output::texts::kStateRfcFailure;
  if (!system.delivered) return output::texts::kStateNotFound;
  return output::texts::kStateProcessed;
}

// A failed probe or system information ends the whole run; a failed
// filling fails the system alone.
void MeasureSystem(RunState& run, RunServices& services, const rfc::TraceWriter& trace,
                   const config::ListingPlan& plan, ListedSystem& system, Tally& tally) {
  const std::string channel_name = DisplayNameOf(plan.naming, system);
  const config::ConnectionProfile& profile = system.profile;
  const std::string console_line = "* " + platform::LocalTimeOfDay() + " " + system.entry + ", " +
                                   profile.HostnameDisplay + ", " + profile.Destination + ", " +
                                   profile.Sysnr + ", " + profile.Client;
  PrepareErrorReport(services);
  run.Document.Clear();

  bool processed = false;
  if (std::unique_ptr<rfc::SapConnection> connection =
          LogOn(run, system.profile, services, trace)) {
    RunCheckedSteps(services, *connection, system.profile);
    ReportStep(services, system.profile.Destination, "ADA_DB_FILLING");
    rfc::StepResult<rfc::FillingRead> read =
        connection->ReadFilling([&](const rfc::FillingRow& row) {
          if (plan.item != measure::kDaysUntilFull.name) {
            system.delivered = measure::ReportFillingItem(run.Document, services.out, plan.item,
                                                          channel_name, row, run.Options.limits) ||
                               system.delivered;
          } else if (!system.delivered) {
            // One sample per poll: the first row's, as a single-system run takes it.
            const measure::ForecastResult forecast = ForecastDaysUntilFull(
                HistoryPathOf(run.ProfileDirectory + system.entry), row,
                run.Options.forecast_days.value_or(config::kDefaultForecastDays), trace);
            measure::ReportDaysUntilFullItem(run.Document, services.out, channel_name,
                                             forecast.days_until_full,
                                             forecast.trouble.has_value());
            if (forecast.trouble) tally.forecast_troubles.push_back(*forecast.trouble);
            system.delivered = true;
          }
        });
    if (std::holds_alternative<rfc::RemoteFailure>(read)) system.failed = true;
    processed =
        std::holds_alternative<rfc::FillingRead>(read) && !system.failed && system.delivered;
    // Counted before the logoff: the system's channel is in the document,
    // and a logoff that hangs until the deadline must not make it failed.
    if (processed && services.progress != nullptr) services.progress->Processed();
    connection.reset();
    if (auto* failure = std::get_if<rfc::LibraryFailure>(&read)) throw RfcAbort(*failure);
  } else {
    system.failed = true;
  }

  ++(processed ? tally.processed : tally.failed);
  if (run.Options.console) {
    services.out.Write("\n" + console_line + " State=" + std::string(StateText(system)) + "\n");
  }
}

// Ends the output with the summary (and the console's closing line).
void PrintSummary(RunState& run, RunServices& services, const config::ListingPlan& plan,
                  const Tally& tally) {
  run.Document.Clear();
  const std::string troubles = measure::ForecastTroubleText(tally.forecast_troubles);
  services.out.End(ListingSummary(run.Document, plan.item, tally.systems, tally.processed,
                                  tally.failed, troubles.empty() ? "" : " " + troubles) +
                       (run.Options.console ? ProcessedLine() : ""),
                   output::kExitSuccess);
}

}  // namespace

std::string ListingSummary(output::ResultDocument& document, std::string_view item,
                           std::uint32_t systems, std::uint32_t processed, std::uint32_t failed,
                           std::string_view suffix) {
  document.OpenResultText();
  document.Append(output::texts::kSummaryLead);
  document.AppendExternal(item);
  document.Append(std::string(output::texts::kSummarySystems) + std::to_string(systems) +
                  std::string(output::texts::kSummaryProcessed) + std::to_string(processed) +
                  std::string(output::texts::kSummaryFailed) + std::to_string(failed));
  document.AppendExternal(suffix);
  document.Append(" ");
  document.CloseResultText();
  document.CloseResultDocument();
  return document.Take() + "\n";
}

int RunListing(RunState& run, RunServices& services) {
  const config::ListingPlan plan = ReadListing(run);
  if (run.Options.console) {
    const std::string& options = run.ProfileName == config::file_names::kGlobalListing
                                     ? plan.options_display
                                     : run.Options.listing_display;
    services.out.Write(run.Banner + "\n");
    services.out.Write("* " + run.StartTime + " " + options +
                       std::string(output::texts::kStateExecuting) + "\n");
  }
  // Loaded before the document opens: a library that cannot be loaded makes
  // the error document the whole output.
  const rfc::TraceWriter trace = RunTrace(run, services);
  LoadRfcLibrary(services, trace);
  if (services.progress != nullptr) {
    services.progress->Listing(plan.item, static_cast<std::uint32_t>(plan.systems.size()));
  }
  // From here on the deadline ends the run with the listing's summary.
  run.Document.OpenResultDocument();
  services.out.OpenDocument(run.Document.Take() + "\n");

  Tally tally;
  for (const std::string& entry : plan.systems) {
    ++tally.systems;
    if (services.progress != nullptr) services.progress->System(entry);
    if (std::optional<ListedSystem> system = ReadSystemProfile(run, entry)) {
      MeasureSystem(run, services, trace, plan, *system, tally);
    }
  }

  PrintSummary(run, services, plan, tally);
  return output::kExitSuccess;
}

}  // namespace driver
