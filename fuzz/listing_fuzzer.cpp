// The global sensor listing and the item listing over any file text.
//
// Input: the option text of the command line (the sensor's name and
// whatever follows it) up to the first line feed, then the listing file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "config/global_listing.h"
#include "config/profile_reader.h"
#include "config/run_options.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "platform/line_reader.h"

namespace {

// A listing the run goes on with names systems and an item; a listing it
// stops at says why.
const config::ListingPlan* CheckCollected(const config::Checked<config::ListingPlan>& read) {
  if (const auto* error = std::get_if<config::ConfigError>(&read)) {
    fuzz::Require(!error->message.empty(), "a listing error has its message");
    return nullptr;
  }
  const config::ListingPlan& plan = std::get<config::ListingPlan>(read);
  fuzz::Require(!plan.systems.empty(), "a listing run has systems to measure");
  fuzz::Require(!plan.item.empty() && plan.item.size() <= 90,
                "a listing run's item name has 1 to 90 characters");
  fuzz::Require(
      plan.naming == config::NamingKind::kProfile || plan.naming == config::NamingKind::kAlias ||
          plan.naming == config::NamingKind::kHost || plan.naming == config::NamingKind::kSid,
      "the naming kind is one of the four");
  for (const std::string& system : plan.systems) {
    fuzz::Require(system.find('#') == std::string::npos, "a system's name holds no \"#\"");
  }
  return &plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::string options = fuzz::AsArgument(input.TakeLine());
  const std::vector<std::string> lines =
      platform::SplitLines(input.rest(), config::kListingLineLimit);
  const config::Checked<config::RunOptions> checked = config::ParseRunOptions(options);
  if (!std::holds_alternative<config::RunOptions>(checked)) return 0;
  const config::RunOptions& parsed = std::get<config::RunOptions>(checked);
  const std::string sensor_argument = options.substr(0, options.find(' '));

  const config::Checked<config::ListingPlan> global =
      config::ReadGlobalListing(lines, parsed.upper, sensor_argument);
  if (const config::ListingPlan* plan = CheckCollected(global)) {
    fuzz::Require(plan->item.find(':') == std::string::npos,
                  "an item name shows its colons as blanks");
    fuzz::Require(plan->options_display.find(':') == std::string::npos,
                  "the listing's options show their colons as blanks");
  }

  const config::Checked<config::ListingPlan> item = config::ReadItemListing(lines, "Used Area");
  if (const config::ListingPlan* plan = CheckCollected(item)) {
    fuzz::Require(plan->item == "Used Area", "the item listing measures the command line's item");
    fuzz::Require(plan->options_display.empty(), "the item listing has no options of its own");
  }
  return 0;
}
