// The nine measurements of the database filling: the channels of a
// single-system run and the items a listing run can name.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

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
    {"Total Size", kUnitMegabytes},
    {"Used Area", kUnitMegabytes},
    {"Used Area [Prc]", kUnitPercent},
    {"Perm Used Area", kUnitMegabytes},
    {"Perm Used Area [Prc]", kUnitPercent},
    {"Temp Used Area", kUnitMegabytes},
    {"Temp Used Area [Prc]", kUnitPercent},
    {"Free Area", kUnitMegabytes},
    {"Free Area [Prc]", kUnitPercent},
}};

// The forecast's channel after the nine, and a listing item of its own.
inline constexpr std::string_view kUnitDays = "Days";
inline constexpr FillingChannel kDaysUntilFull{"Days Until Full", kUnitDays};

// One measurement's value in each kind of run.
struct FillingValue {
  std::string in_channel;  // sizes in megabytes
  std::string in_listing;  // sizes raw
};

// The row's values, in the order of kFillingChannels.
std::array<FillingValue, kFillingChannelCount> FillingValues(const rfc::FillingRow& row);

}  // namespace measure
