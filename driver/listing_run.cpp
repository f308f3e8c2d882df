#include "driver/listing_run.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config/file_names.h"
#include "config/global_listing.h"
#include "config/profile_reader.h"
#include "driver/filling_forecast.h"
#include "driver/listed_system.h"
#include "driver/remote_steps.h"
#include "driver/run_end.h"
#include "driver/side_by_side_listing.h"
#include "measure/filling_channels.h"
#include "measure/filling_report.h"
#include "output/exit_codes.h"
#include "output/relayed_output.h"
#include "output/texts.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/line_reader.h"
#include "platform/process_end.h"
#include "platform/standard_streams.h"

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
// filling fails the system alone. `measured`, if given, learns of a system
// processed before it logs off.
void MeasureSystem(RunState& run, RunServices& services, const rfc::TraceWriter& trace,
                   const config::ListingPlan& plan, ListedSystem& system, Tally& tally,
                   const std::function<void()>& measured = {}) {
  const std::string channel_name = DisplayNameOf(plan.naming, system);
  const config::ConnectionProfile& profile = system.profile;
  const std::string console_line = "* " + platform::LocalTimeOfDay() + " " + system.entry + ", " +
                                   profile.HostnameDisplay + ", " + profile.Destination + ", " +
                                   profile.Sysnr + ", " + profile.Client;
  PrepareErrorReport(services, run.Document);
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
    if (processed && services.progress != nullptr) {
      services.progress->Processed(run.Document.record().channels);
    }
    if (processed && measured) measured();
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

// Ends the output with the summary (and the console's closing line);
// returns the exit code it ended with.
int PrintSummary(RunState& run, RunServices& services, const config::ListingPlan& plan,
                 const Tally& tally) {
  run.Document.Clear();
  const std::string troubles = measure::ForecastTroubleText(tally.forecast_troubles);
  const std::string summary =
      ListingSummary(run.Document, plan.item, tally.systems, tally.processed, tally.failed,
                     troubles.empty() ? "" : " " + troubles);
  const int code = run.Document.ExitCode(output::kExitSuccess);
  services.out.End(summary + (run.Options.console ? ProcessedLine() : ""), code);
  return code;
}

// A process the listing run started for one system: measures that system
// alone, its part of the output on standard output, and leaves its count
// in the result file. The run's head and summary are the starter's.
int MeasureListedSystem(RunState& run, RunServices& services, const rfc::TraceWriter& trace,
                        const config::ListingPlan& plan) {
  platform::UseBinaryStandardStreams();
  platform::EndAtOnceOnCrash();
  output::RelayingSink relaying(services.out);
  RunServices relayed{services.rfc, relaying, services.err, nullptr, nullptr};
  run.Document.RelayChannels([&out = services.out](
                                 const output::ResultDocument::RelayedChannel& channel) {
    out.Write(output::ChannelFrame({std::string(channel.name), std::string(channel.value),
                                    std::string(channel.unit), channel.limits, channel.warning}));
  });
  const std::size_t index = *run.ListedSystem;
  Tally tally;
  ListedCount count{ListedCount::State::kUnread, {}};
  // The count goes out with what is written so far.
  const auto leave_count = [&] {
    services.out.Flush();
    services.err.Flush();
    // A result cut short is no result: the starter counts the system failed.
    const std::string text = ListedCountText(count);
    if (platform::UniqueFile result = platform::CreateForWriting(run.ListedResultPath)) {
      static_cast<void>(std::fwrite(text.data(), 1, text.size(), result.get()));
    }
  };
  // The system ended the run, which its starter ends as well.
  const auto leave_run_end = [&](int exit_code) {
    count.state = ListedCount::State::kEndsRun;
    count.exit_code = exit_code;
    leave_count();
    return exit_code;
  };
  if (index < plan.systems.size()) {
    if (std::optional<ListedSystem> system = ReadSystemProfile(run, plan.systems[index])) {
      // Measured before its logoff, which may hang until the deadline.
      const auto measured = [&] {
        count = ListedCount{ListedCount::State::kProcessed, tally.forecast_troubles};
        leave_count();
      };
      // The ends of the run that the system may bring, as the driver
      // writes them, relayed.
      try {
        MeasureSystem(run, relayed, trace, plan, *system, tally, measured);
      } catch (const ErrorDocumentExit& failure) {
        // A format that answers once gets the message: the run renders it.
        run.Document.WriteErrorDocument(failure.what());
        relayed.out.End(run.Document.Streams() ? run.Document.Take() : failure.what(),
                        output::kExitRunError);
        return leave_run_end(output::kExitRunError);
      } catch (const RfcAbort& abort) {
        return leave_run_end(PrintRfcError(relayed, run.Document, abort.failure()));
      }
      count.state =
          tally.processed > 0 ? ListedCount::State::kProcessed : ListedCount::State::kFailed;
      count.forecast_troubles = tally.forecast_troubles;
    }
  }
  leave_count();
  return output::kExitSuccess;
}

// The deadline came while systems were measured side by side: the summary
// counts every system not processed as failed and names those still
// measured; returns the exit code it ended with.
int PrintTimeoutSummary(RunState& run, RunServices& services, const config::ListingPlan& plan,
                        std::uint32_t processed, const std::vector<std::string>& timed_out) {
  run.Document.Clear();
  std::string suffix = std::string(output::texts::kSummaryTimeout) +
                       std::to_string(run.Options.timeout_seconds.value_or(0)) +
                       std::string(output::texts::kSummaryTimeoutAt);
  for (std::size_t i = 0; i < timed_out.size(); ++i) {
    suffix += (i == 0 ? "" : ", ") + timed_out[i];
  }
  const auto systems = static_cast<std::uint32_t>(plan.systems.size());
  const std::string summary =
      ListingSummary(run.Document, plan.item, systems, processed, systems - processed, suffix);
  const int code = run.Document.ExitCode(output::kExitSuccess);
  services.out.End(summary, code);
  return code;
}

}  // namespace

std::string ListingSummary(output::ResultDocument& document, std::string_view item,
                           std::uint32_t systems, std::uint32_t processed, std::uint32_t failed,
                           std::string_view suffix) {
  document.RecordListing({std::string(item), systems, processed, failed, std::string(suffix),
                          measure::IsPercentItem(item)});
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
  // A document rendered whole ends its own line.
  return document.Take() + (document.Streams() ? "\n" : "");
}

int RunListing(RunState& run, RunServices& services) {
  const config::ListingPlan plan = ReadListing(run);
  const bool listed_system = run.ListedSystem.has_value();
  if (run.Options.console && !listed_system) {
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
  LoadRfcLibrary(services, listed_system ? rfc::TraceWriter{} : trace);
  if (services.progress != nullptr) {
    services.progress->Listing(plan.item, static_cast<std::uint32_t>(plan.systems.size()));
  }
  // From here on the deadline ends the run with the listing's summary.
  run.Document.OpenResultDocument();
  const std::string head = run.Document.Take() + (run.Document.Streams() ? "\n" : "");
  if (listed_system) return MeasureListedSystem(run, services, trace, plan);
  services.out.OpenDocument(head);

  Tally tally;
  if (const int at_once = run.Options.parallel_systems.value_or(1); at_once > 1) {
    if (std::optional<SideBySideOutcome> outcome =
            MeasureSideBySide(run, services, plan.systems, at_once)) {
      if (outcome->ended) {
        // A format that answers once has the system's error in the document.
        const int code = run.Document.ExitCode(*outcome->ended);
        services.out.End(run.Document.Take(), code);
        return code;
      }
      if (!outcome->timed_out.empty()) {
        return PrintTimeoutSummary(run, services, plan, outcome->processed, outcome->timed_out);
      }
      tally.systems = static_cast<std::uint32_t>(plan.systems.size());
      tally.processed = outcome->processed;
      tally.failed = outcome->failed;
      tally.forecast_troubles = std::move(outcome->forecast_troubles);
      return PrintSummary(run, services, plan, tally);
    }
  }
  for (const std::string& entry : plan.systems) {
    ++tally.systems;
    if (services.progress != nullptr) services.progress->System(entry);
    if (std::optional<ListedSystem> system = ReadSystemProfile(run, entry)) {
      MeasureSystem(run, services, trace, plan, *system, tally);
    }
  }

  return PrintSummary(run, services, plan, tally);
}

}  // namespace driver
