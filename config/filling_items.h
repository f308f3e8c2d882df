// The names of the filling's measurements: the channels of a single-system
// run, and the items a listing run reports ("Item=" in the global listing,
// "ITEM=" on the command line, a colon for each blank), spelt exactly so:
// an item is found only by its exact name.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace config {

namespace filling_items {
inline constexpr std::string_view kTotalSize = "Total Size";
inline constexpr std::string_view kUsedArea = "Used Area";
inline constexpr std::string_view kUsedAreaPercent = "Used Area [Prc]";
inline constexpr std::string_view kPermUsedArea = "Perm Used Area";
inline constexpr std::string_view kPermUsedAreaPercent = "Perm Used Area [Prc]";
inline constexpr std::string_view kTempUsedArea = "Temp Used Area";
inline constexpr std::string_view kTempUsedAreaPercent = "Temp Used Area [Prc]";
inline constexpr std::string_view kFreeArea = "Free Area";
inline constexpr std::string_view kFreeAreaPercent = "Free Area [Prc]";
// The forecast's, after the nine.
inline constexpr std::string_view kDaysUntilFull = "Days Until Full";
}  // namespace filling_items

// Every item a listing run reports a value for: the nine in the order
// their channels are written, then the forecast.
inline constexpr std::array<std::string_view, 10> kFillingItems = {
    filling_items::kTotalSize,           filling_items::kUsedArea,
    filling_items::kUsedAreaPercent,     filling_items::kPermUsedArea,
    filling_items::kPermUsedAreaPercent, filling_items::kTempUsedArea,
    filling_items::kTempUsedAreaPercent, filling_items::kFreeArea,
    filling_items::kFreeAreaPercent,     filling_items::kDaysUntilFull,
};

// Whether a listing run reports a value for the item named so; for any
// other name each system's state is "Not Found".
inline bool IsFillingItem(std::string_view name) {
  return std::find(kFillingItems.begin(), kFillingItems.end(), name) != kFillingItems.end();
}

}  // namespace config
