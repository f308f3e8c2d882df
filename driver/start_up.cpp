#include "driver/start_up.h"

#include <algorithm>

#include "include/run_end.h"
#include "include/texts.h"
#include "include/upper_case.h"

namespace {

constexpr std::string_view kItemKeyword = "ITEM=";
// Monitors configure item names of at most this many characters.
constexpr std::size_t kItemNameLimit = 90;

// A name without an extension (its fourth character from the end is not a
// point, which includes names shorter than four characters) stands for the
// profile file with the default extension.
void AppendDefaultExtension(std::string& name) {
  if (name.size() < 4 || name[name.size() - 4] != '.') name.append(file_names::kProfileExtension);
}

}  // namespace

void StartUp(RunState& run, const std::vector<std::string>& arguments,
             std::string_view time_of_day) {
  run.ScratchText = std::string(time_of_day);
  run.ConsoleLine = "* " + run.ScratchText + " SAP " + std::string(texts::kProgramName) + " " +
                    std::string(texts::kVersion);
  run.Arguments = arguments;
  if (arguments.empty()) {
    throw ErrorDocumentExit(std::string(texts::kError1001));
  }

  run.ProfileName = arguments[0];
  run.RunOptions = arguments.size() > 1 ? arguments[1] : "";
  if (arguments.size() > 2) run.RunOptions += " " + arguments[2];
  run.RunOptionsOriginal = run.RunOptions;
  run.RunOptions = UpperCase(run.RunOptions);

  if (std::size_t at = run.RunOptions.find(kItemKeyword); at != std::string::npos) {
    run.GlobalMode = true;
    std::string_view rest =
        std::string_view(run.RunOptionsOriginal).substr(at + kItemKeyword.size());
    rest = rest.substr(0, std::min({rest.find(' '), rest.find(','), kItemNameLimit}));
    run.ItemName = std::string(rest);
    std::replace(run.ItemName.begin(), run.ItemName.end(), ':', ' ');
    run.ProfileName = std::string(file_names::kItemListing);
  }

  AppendDefaultExtension(run.ProfileName);

  // A directory given with the name is split off; "GLOBAL" names the global
  // sensor listing also when it only shows after the split.
  if (std::size_t slash = run.ProfileName.rfind('\\');
      slash != std::string::npos && run.ProfileName.find('\\', 1) != std::string::npos) {
    run.ProfileDirectory = run.ProfileName.substr(0, slash + 1);
    run.ProfileName.erase(0, slash + 1);
  }
  if (UpperCase(run.ProfileName) == "GLOBAL.P00") {
    run.GlobalMode = true;
    run.ProfileName = std::string(file_names::kGlobalListing);
  }

  run.Profile = ConnectionProfile{};
  run.ConsoleMode = run.RunOptions.find_first_of("#@$%") != std::string::npos;
}

std::string SingleRunOptionsDisplay(std::string options) {
  options = options.substr(0, options.find('#'));
  options = options.substr(0, options.find('@'));
  if (options == "(Parameters " || options == "(No ") options.clear();
  if (options.empty()) options = std::string(texts::kNoParameters);
  return options;
}

std::string ListingRunOptionsDisplay(std::string options) {
  std::replace(options.begin(), options.end(), ':', ' ');
  return options.substr(0, options.find(" @"));
}
