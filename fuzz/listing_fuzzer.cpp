// The global sensor listing and the item listing over any file text.
//
// Input: the option text of the command line (the sensor's name and
// whatever follows it) up to the first line feed, then the listing file.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/global_listing.h"
#include "config/profile_reader.h"
#include "driver/start_up.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "include/run_end.h"
#include "include/run_state.h"
#include "platform/line_reader.h"

namespace {

// A listing the run goes on with names systems and an item.
void CheckCollected(const RunState& run) {
  fuzz::Require(!run.PendingSystems.empty(), "a listing run has systems to measure");
  fuzz::Require(!run.ItemName.empty() && run.ItemName.size() <= 90,
                "a listing run's item name has 1 to 90 characters");
  fuzz::Require(run.NamingKind >= '1' && run.NamingKind <= '4', "the naming kind is 1 to 4");
  fuzz::Require(run.SystemCount == 0 && run.ProcessedCount == 0 && run.FailedCount == 0,
                "a listing starts its counts at 0");
}

RunState StateFor(const std::string& options) {
  RunState run;
  run.Arguments = {"GLOBAL", options};
  run.RunOptionsOriginal = options;
  run.RunOptions = options;
  for (char& c : run.RunOptions) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::string options = fuzz::AsArgument(input.TakeLine());
  const std::vector<std::string> lines =
      platform::SplitLines(input.rest(), config::kListingLineLimit);

  RunState global = StateFor(options);
  try {
    ApplyGlobalListing(global, lines);
    CheckCollected(global);
    fuzz::Require(global.ItemName.find(':') == std::string::npos,
                  "an item name shows its colons as blanks");
    ListingRunOptionsDisplay(global.RunOptionsOriginal);
  } catch (const ErrorDocumentExit&) {
    // Listing errors end the run: the expected way out.
  }

  RunState item = StateFor(options);
  item.ItemName = "Used Area";
  try {
    ApplyItemListing(item, lines);
    CheckCollected(item);
  } catch (const ErrorDocumentExit&) {
  }
  return 0;
}
