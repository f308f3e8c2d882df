#include "driver/start_up.h"

#include <utility>

#include "config/file_names.h"
#include "driver/run_end.h"
#include "output/texts.h"
#include "platform/upper_case.h"

namespace driver {

namespace {

// A name without an extension (its fourth character from the end is not a
// point, which includes names shorter than four characters) stands for the
// profile file with the default extension.
void AppendDefaultExtension(std::string& name) {
  if (name.size() < 4 || name[name.size() - 4] != '.')
    name.append(config::file_names::kProfileExtension);
}

}  // namespace

void StartUp(RunState& run, const std::vector<std::string>& arguments,
             std::string_view time_of_day) {
  run.StartTime = std::string(time_of_day);
  run.Banner = "* " + run.StartTime + " SAP " + std::string(output::texts::kProgramName) + " " +
               std::string(output::texts::kVersion);
  run.Arguments = arguments;
  if (arguments.empty()) {
    throw ErrorDocumentExit(std::string(output::texts::kError1001));
  }

  run.ProfileName = arguments[0];
  std::string options = arguments.size() > 1 ? arguments[1] : "";
  if (arguments.size() > 2) options += " " + arguments[2];
  std::string further_words;
  for (std::size_t i = 3; i < arguments.size(); ++i) {
    if (i > 3) further_words += " ";
    further_words += arguments[i];
  }
  run.Options = CheckedOrEnd(config::ParseRunOptions(std::move(options), further_words));
  if (run.Options.credentials) {
    run.MonitorLogon = CheckedOrEnd(config::MonitorLogonFromEnvironment(*run.Options.credentials));
  }

  if (run.Options.item) {
    run.GlobalMode = true;
    run.ItemName = *run.Options.item;
    run.ProfileName = std::string(config::file_names::kItemListing);
  }

  AppendDefaultExtension(run.ProfileName);

  // A directory given with the name is split off; "GLOBAL" names the global
  // sensor listing also when it only shows after the split.
  const std::string_view separators = run.LinuxNames ? "\\/" : "\\";
  if (std::size_t slash = run.ProfileName.find_last_of(separators);
      slash != std::string::npos &&
      run.ProfileName.find_first_of(separators, 1) != std::string::npos) {
    run.ProfileDirectory = run.ProfileName.substr(0, slash + 1);
    run.ProfileName.erase(0, slash + 1);
  }
  if (platform::UpperCase(run.ProfileName) == "GLOBAL.P00") {
    run.GlobalMode = true;
    run.ProfileName = std::string(config::file_names::kGlobalListing);
  }
}

}  // namespace driver
