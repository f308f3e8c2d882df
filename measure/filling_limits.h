// The alarm levels the filling's channels carry for the monitor: how full
// the data area may be ("LIMITS=W/E") and how few days it may have left.
#pragma once

#include <optional>
#include <string_view>

#include "config/run_options.h"
#include "output/result_document.h"

namespace measure {

// The forecast's levels: a warning below 30 days, an error below 7.
inline constexpr int kDaysUntilFullWarning = 30;
inline constexpr int kDaysUntilFullError = 7;

// Which channels of which run carry levels: in a single-system run "Used
// Area [Prc]" (with `limits`) and "Days Until Full"; in a listing run the
// items "Used Area [Prc]" and "Free Area [Prc]" (with `limits`, the free
// area's as lower levels of 100 - W and 100 - E) and "Days Until Full".
enum class RunKind { kSingleSystem, kListing };
std::optional<output::ChannelLimits> LimitsOfChannel(
    std::string_view channel, RunKind run, const std::optional<config::FillingLimits>& limits);

}  // namespace measure
