#include "driver/driver.h"

#include <variant>

#include "config/output_flavour.h"
#include "config/sensor_directory.h"
#include "driver/listing_run.h"
#include "driver/remote_steps.h"
#include "driver/run_end.h"
#include "driver/run_state.h"
#include "driver/single_system_run.h"
#include "driver/start_up.h"
#include "include/exit_codes.h"
#include "platform/clock.h"

int RunSensor(const std::vector<std::string>& command_line, RunServices& services) {
  RunState run;
  try {
    if (!command_line.empty()) run.ProgramPath = command_line.front();
    std::vector<std::string> arguments;
    if (command_line.size() > 1) arguments.assign(command_line.begin() + 1, command_line.end());
    StartUp(run, arguments, platform::LocalTimeOfDay());
    run.OutputFlavour = SelectOutputFlavour();
    run.Document = ResultDocument(run.OutputFlavour, run.Options.channel);
    const bool search_prtg = run.OutputFlavour == "EXEXML" && !run.Options.profile_as_named;
    const config::ProfileLocation location =
        CheckedOrEnd(config::LocateProfile(run.ProfileName, run.ProfileDirectory, search_prtg));
    run.ProfileDirectory = location.directory;
    run.ProfilePath = location.path;
    if (run.GlobalMode) {
      return RunListing(run, services);
    }
    return RunSingleSystem(run, services);
  } catch (const ErrorDocumentExit& failure) {
    run.Document.WriteErrorDocument(failure.what());
    services.out.Write(run.Document.Take());
    return kExitRunError;
  } catch (const RfcAbort& abort) {
    PrintRfcError(services, abort.failure());
    return kExitRfcError;
  }
}
