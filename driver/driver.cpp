#include "driver/driver.h"

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "config/filling_items.h"
#include "config/output_flavour.h"
#include "config/sensor_directory.h"
#include "driver/listed_system.h"
#include "driver/listing_run.h"
#include "driver/remote_steps.h"
#include "driver/run_end.h"
#include "driver/run_state.h"
#include "driver/single_system_run.h"
#include "driver/start_up.h"
#include "output/exit_codes.h"
#include "output/texts.h"
#include "platform/clock.h"
#include "platform/process_end.h"
#include "platform/watch.h"

namespace driver {

namespace {

// What the deadline leaves on standard output: a listing whose document is
// open gets its summary, counting every system not measured in time as
// failed (exit code 0: the channels stand); any other run the error
// document naming the step it waited for.
std::pair<std::string, int> TimeoutDocument(const RunProgress::Snapshot& now, bool listing_open,
                                            int seconds, const std::string& flavour,
                                            std::optional<int> channel) {
  output::ResultDocument document(flavour, channel);
  if (listing_open) {
    // A format that answers once keeps the channels measured in time.
    if (!document.Streams()) {
      for (const output::RecordedChannel& measured : now.channels) {
        document.WriteChannel(measured.name, measured.value, measured.unit, measured.limits,
                              measured.warning);
      }
    }
    const std::string suffix = std::string(output::texts::kSummaryTimeout) +
                               std::to_string(seconds) +
                               std::string(output::texts::kSummaryTimeoutAt) + now.entry;
    return {ListingSummary(document, now.item, now.systems, now.processed,
                           now.systems - now.processed, suffix),
            document.ExitCode(output::kExitSuccess)};
  }
  document.WriteErrorDocument(std::string(output::texts::kError1032Prefix) +
                              std::to_string(seconds) +
                              std::string(output::texts::kTimeoutNoAnswerFrom) + now.destination +
                              std::string(output::texts::kTimeoutAt) + now.step);
  return {document.Take(), document.ExitCode(output::kExitRunError)};
}

int Run(const std::vector<std::string>& command_line, RunState& run, RunServices& services,
        RunProgress& progress, std::optional<platform::Watch>& deadline) {
  try {
    if (!command_line.empty()) run.ProgramPath = command_line.front();
    std::vector<std::string> arguments;
    if (command_line.size() > 1) arguments.assign(command_line.begin() + 1, command_line.end());
    StartUp(run, arguments, platform::LocalTimeOfDay());
    run.OutputFlavour = config::SelectOutputFlavour();
    run.Document = output::ResultDocument(run.OutputFlavour, run.Options.channel);
    run.Document.FixChannelIds({config::kFillingItems.begin(), config::kFillingItems.end()});
    // Standard output holds the one answer: no console lines beside it.
    if (!run.Document.Streams()) run.Options.console = false;
    if (run.GlobalMode) {
      run.ListedSystem = ListedSystemOfEnvironment();
      if (run.ListedSystem) run.ListedResultPath = ListedResultPathOfEnvironment();
    }
    // A listing run's process for one of its systems answers to the run
    // that started it, which keeps the deadline.
    if (run.Options.timeout_seconds && services.guarded_out != nullptr && !run.ListedSystem) {
      const int seconds = *run.Options.timeout_seconds;
      run.Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
      progress.At(run.ProfileName, std::string(output::texts::kStepStart));
      services.progress = &progress;
      deadline.emplace(std::chrono::seconds(seconds), [&out = *services.guarded_out, &progress,
                                                       seconds, flavour = run.OutputFlavour,
                                                       channel = run.Options.channel] {
        out.Close(
            [&](bool listing_open) {
              return TimeoutDocument(progress.Get(), listing_open, seconds, flavour, channel);
            },
            platform::EndProcessNow);
      });
    }
    const config::ProfileSearch search =
        run.LinuxNames ? config::ProfileSearch::kAsNamedOrBesideProgram
        : run.OutputFlavour == "EXEXML" && !run.Options.profile_as_named
            ? config::ProfileSearch::kPrtgDirectories
            : config::ProfileSearch::kAsNamed;
    const config::ProfileLocation location =
        CheckedOrEnd(config::LocateProfile(run.ProfileName, run.ProfileDirectory, search));
    run.ProfileDirectory = location.directory;
    run.ProfilePath = location.path;
    if (run.GlobalMode) {
      return RunListing(run, services);
    }
    return RunSingleSystem(run, services);
  } catch (const ErrorDocumentExit& failure) {
    run.Document.WriteErrorDocument(failure.what());
    const int code = run.Document.ExitCode(output::kExitRunError);
    services.out.End(run.Document.Take(), code);
    return code;
  } catch (const RfcAbort& abort) {
    return PrintRfcError(services, run.Document, abort.failure());
  }
}

}  // namespace

int RunSensor(const std::vector<std::string>& command_line, RunServices& services) {
  RunState run;
  run.LinuxNames = services.linux_names;
  RunProgress progress;
  // Destroyed first: the run answered in time, its watch stops.
  std::optional<platform::Watch> deadline;
  const int code = Run(command_line, run, services, progress, deadline);
  services.progress = nullptr;
  return code;
}

}  // namespace driver
