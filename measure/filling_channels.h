// The nine measurements of the database filling: the channels of a
// single-system run and the items a listing run can name.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "config/filling_items.h"
#include "rfc/filling_row.h"

namespace measure {

inline constexpr std::string_view kUnitMegabytes = "MByte";
inline constexpr std::string_view kUnitPercent = "PerCent";
// A listing run reports every item in this unit, the per-cent items as well.
inline constexpr std::string_view kUnitListing = "Pages";

struct FillingChannel {
  std::string_view name;  // the channel's name, and the item name of a listing
  std::string_view unit;  // in a single-system run
};

inline constexpr std::size_t kFillingChannelCount = 9;

// In the order the channels are written.
inline constexpr std::array<FillingChannel, kFillingChannelCount> kFillingChannels{{
    {config::filling_items::kTotalSize, kUnitMegabytes},
    {config::filling_items::kUsedArea, kUnitMegabytes},
    {config::filling_items::kUsedAreaPercent, kUnitPercent},
    {config::filling_items::kPermUsedArea, kUnitMegabytes},
    {config::filling_items::kPermUsedAreaPercent, kUnitPercent},
    {config::filling_items::kTempUsedArea, kUnitMegabytes},
    {config::filling_items::kTempUsedAreaPercent, kUnitPercent},
    {config::filling_items::kFreeArea, kUnitMegabytes},
    {config::filling_items::kFreeAreaPercent, kUnitPercent},
}};

// The forecast's channel after the nine, and a listing item of its own.
inline constexpr std::string_view kUnitDays = "Days";
inline constexpr FillingChannel kDaysUntilFull{config::filling_items::kDaysUntilFull, kUnitDays};

// Whether the listing item named so is a per-cent value (the listing
// reports it in its one unit all the same).
inline bool IsPercentItem(std::string_view item) {
  for (const FillingChannel& channel : kFillingChannels) {
    if (channel.name == item) return channel.unit == kUnitPercent;
  }
  return false;
}

// One measurement's value in each kind of run.
struct FillingValue {
  std::string in_channel;  // sizes in megabytes
  std::string in_listing;  // sizes raw
};

// The row's values, in the order of kFillingChannels.
std::array<FillingValue, kFillingChannelCount> FillingValues(const rfc::FillingRow& row);

}  // namespace measure
