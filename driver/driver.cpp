#include "driver/driver.h"

#include "config/output_flavour.h"
#include "config/sensor_directory.h"
#include "driver/listing_run.h"
#include "driver/single_system_run.h"
#include "driver/start_up.h"
#include "include/exit_codes.h"
#include "include/run_end.h"
#include "include/run_state.h"
#include "platform/clock.h"
#include "rfc/failure_report.h"

int RunSensor(const std::vector<std::string>& command_line, RunServices& services) {
  RunState run;
  try {
    if (!command_line.empty()) run.ProgramPath = command_line.front();
    std::vector<std::string> arguments;
    if (command_line.size() > 1) arguments.assign(command_line.begin() + 1, command_line.end());
    StartUp(run, arguments, platform::LocalTimeOfDay());
    run.OutputFlavour = SelectOutputFlavour();
    run.Document = ResultDocument(run.OutputFlavour, run.RunOptions);
    LocateProfile(run);
    if (run.GlobalMode) {
      return RunListing(run, services);
    }
    return RunSingleSystem(run, services);
  } catch (const ErrorDocumentExit& failure) {
    run.Document.WriteErrorDocument(failure.what());
    services.out.Write(run.Document.Take());
    return kExitRunError;
  } catch (const RfcAbort& abort) {
    PrintRfcError(services, abort.what());
    return kExitRfcError;
  }
}
