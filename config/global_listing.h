// The global sensor listing "SAP Tessaron.Gbl" names, per sensor, the
// systems it measures and the one item it reports; "Tessaron.Prf" lists
// systems for a run whose item came with "ITEM=" on the command line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_error.h"

namespace config {

// How a listing run names each system's channel.
enum class NamingKind {
  kProfile,  // the profile file's name
  kAlias,    // the profile file's name without its extension
  kHost,     // the profile's host
  kSid,      // the profile's destination
};

// What a listing run measures.
struct ListingPlan {
  // The profile file names, in order; an empty name is a system too.
  std::vector<std::string> systems;
  std::string item;
  NamingKind naming = NamingKind::kProfile;
  // The global listing's options for its sensor, as the console line shows
  // them; empty for the item listing.
  std::string options_display;
};

// The global listing's lines for the sensor named by the first word of the
// (upper-cased) options; `sensor_argument` is that word as given, for
// Error 1030. Errors, checked in this order: 1029 (while reading), 1030,
// 1025, 1026.
Checked<ListingPlan> ReadGlobalListing(const std::vector<std::string>& lines,
                                       std::string_view upper_options,
                                       std::string_view sensor_argument);

// Where the sensor reads a group line's systems and an item line's item
// text (1-based columns), whatever the sensor name before them: columns
// 9-18 hold the name padded with blanks, 19 and 20 are not read.
inline constexpr std::size_t kSystemsFirstColumn = 21;
inline constexpr std::size_t kItemFirstColumn = 20;

// A group or item line whose text, as written after the sensor name and
// the blanks that pad it, begins elsewhere than the sensor reads it:
// systems before or after column 21 (the sensor loses their first
// characters, or takes the blanks into the first profile's name), an item
// text before column 20 (the sensor loses its first characters; blanks
// before it are harmless).
struct MisplacedText {
  std::size_t line_index;  // in the lines read
  bool systems;            // a group line's; else an item line's item text
  std::size_t column;      // where it begins as written, 1-based
};

// A sensor of the global listing: a key its group or item lines carry in
// columns 9-18, and what a sensor named with it reads.
struct ListedSensor {
  std::string key;  // as its first line writes it, without the blanks after it
  // False when no sensor can be named so: a sensor's key is the first word
  // of its options, so a key with a blank before another character is
  // never read.
  bool nameable = true;
  // As ReadGlobalListing gives it for this key, `key` standing for the
  // sensor argument of Error 1030.
  Checked<ListingPlan> plan;
  // Its lines whose text the sensor reads from another column, in order.
  std::vector<MisplacedText> misplaced;
};

// Every sensor key of the global listing, in the order its first group or
// item line comes; keys that differ only in case are one.
std::vector<ListedSensor> ReadEveryListedSensor(const std::vector<std::string>& lines);

// The item listing's lines, for the item the command line named; errors
// 1025, 1026.
Checked<ListingPlan> ReadItemListing(const std::vector<std::string>& lines, std::string item);

}  // namespace config
