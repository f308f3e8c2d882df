#include "measure/filling_limits.h"

#include <string>

#include "measure/filling_channels.h"

namespace measure {
namespace {

constexpr std::string_view kUsedPercent = "Used Area [Prc]";
constexpr std::string_view kFreePercent = "Free Area [Prc]";
constexpr int kFull = 100;

std::string Percent(int percent) { return std::to_string(percent) + " %"; }

output::ChannelLimits UsedAreaLimits(const config::FillingLimits& limits) {
  return {output::ChannelLimits::Direction::kUpper, limits.warning, limits.error,
          "Data area more than " + Percent(limits.warning) + " full",
          "Data area more than " + Percent(limits.error) + " full"};
}

output::ChannelLimits FreeAreaLimits(const config::FillingLimits& limits) {
  const int warning = kFull - limits.warning;
  const int error = kFull - limits.error;
  return {output::ChannelLimits::Direction::kLower, warning, error,
          "Less than " + Percent(warning) + " of the data area free",
          "Less than " + Percent(error) + " of the data area free"};
}

output::ChannelLimits DaysUntilFullLimits() {
  return {output::ChannelLimits::Direction::kLower, kDaysUntilFullWarning, kDaysUntilFullError,
          "Data area full in less than " + std::to_string(kDaysUntilFullWarning) + " days",
          "Data area full in less than " + std::to_string(kDaysUntilFullError) + " days"};
}

}  // namespace

std::optional<output::ChannelLimits> LimitsOfChannel(
    std::string_view channel, RunKind run, const std::optional<config::FillingLimits>& limits) {
  if (channel == kDaysUntilFull.name) return DaysUntilFullLimits();
  if (!limits) return std::nullopt;
  if (channel == kUsedPercent) return UsedAreaLimits(*limits);
  if (channel == kFreePercent && run == RunKind::kListing) return FreeAreaLimits(*limits);
  return std::nullopt;
}

}  // namespace measure
