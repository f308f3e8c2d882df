#include "config/global_listing.h"

#include <algorithm>
#include <optional>

#include "config/profile_reader.h"
#include "config/run_options.h"
#include "output/texts.h"
#include "platform/upper_case.h"

namespace config {
namespace {

constexpr std::string_view kGroupMarker = "# GSNG: ";
constexpr std::string_view kItemMarker = "# GSNX: ";
// Marker and sensor name: "# GSNx: " and ten characters.
constexpr std::size_t kKeyLength = 18;
constexpr std::size_t kSensorNameLength = 10;
// 0-based, as the lines are cut.
constexpr std::size_t kSystemsColumn = kSystemsFirstColumn - 1;
constexpr std::size_t kItemColumn = kItemFirstColumn - 1;
constexpr std::string_view kSensorMark = "Sensor=\"SAP Brackwater\"";
constexpr std::string_view kSensorCut = ",Sensor=";
constexpr std::string_view kItemKeyword = "Item=";

std::string SensorKey(std::string_view upper_options) {
  std::string key(upper_options.substr(0, upper_options.find(' ')));
  if (key.size() < kSensorNameLength) key.resize(kSensorNameLength, ' ');
  return key;
}

bool KeyMatches(std::string_view upper_line, std::string_view key) {
  return upper_line.size() >= kKeyLength &&
         upper_line.substr(0, kKeyLength) == key.substr(0, kKeyLength);
}

std::string_view From(std::string_view line, std::size_t column) {
  return line.size() > column ? line.substr(column) : std::string_view();
}

// The naming word in an item line: the last of ",Profile", ",Alias",
// ",Host", ",Sid" (in that order of precedence) that is present; `kind`
// when none is.
NamingKind NamingKindOf(std::string_view line, NamingKind kind) {
  constexpr std::pair<std::string_view, NamingKind> kWords[] = {{",Profile", NamingKind::kProfile},
                                                                {",Alias", NamingKind::kAlias},
                                                                {",Host", NamingKind::kHost},
                                                                {",Sid", NamingKind::kSid}};
  for (const auto& [word, word_kind] : kWords) {
    if (line.find(word) != std::string_view::npos) kind = word_kind;
  }
  return kind;
}

std::string ItemNameOf(std::string_view item_text) {
  std::size_t at = item_text.find(kItemKeyword);
  if (at == std::string_view::npos) return {};
  return ItemNameAt(item_text, at + kItemKeyword.size());
}

// The systems of the collected text: each entry up to its "#", the last one
// also without it. Entries may be empty; each counts as a system.
std::vector<std::string> SystemsOf(std::string_view pending) {
  std::vector<std::string> systems;
  while (!pending.empty()) {
    const std::size_t hash = pending.find('#');
    systems.emplace_back(pending.substr(0, hash));
    pending.remove_prefix(hash == std::string_view::npos ? pending.size() : hash + 1);
  }
  return systems;
}

Checked<ListingPlan> Collected(std::string_view pending, ListingPlan plan) {
  if (pending.empty()) return ConfigError{std::string(output::texts::kError1025)};
  if (plan.item.empty()) return ConfigError{std::string(output::texts::kError1026)};
  plan.systems = SystemsOf(pending);
  return plan;
}

// The listing's lines for the sensor key `sensor` (upper-cased, ten
// characters or more, only the first ten compared).
Checked<ListingPlan> ReadForSensor(const std::vector<std::string>& lines, const std::string& sensor,
                                   std::string_view sensor_argument) {
  const std::string group_key = std::string(kGroupMarker) + sensor;
  const std::string item_key = std::string(kItemMarker) + sensor;
  std::string pending;
  ListingPlan plan;
  std::optional<std::string> item_text;
  for (const std::string& line : lines) {
    std::string upper = platform::UpperCase(line);
    if (KeyMatches(upper, group_key)) {
      pending.append(From(line, kSystemsColumn));
    } else if (KeyMatches(upper, item_key)) {
      item_text = std::string(From(line, kItemColumn));
      if (item_text->find(kSensorMark) == std::string::npos) {
        return ConfigError{std::string(output::texts::kError1029)};
      }
      std::string options = item_text->substr(0, item_text->find(kSensorCut));
      std::replace(options.begin(), options.end(), ':', ' ');
      plan.options_display = ListingRunOptionsDisplay(options);
      plan.naming = NamingKindOf(line, plan.naming);
    }
  }
  if (!item_text) {
    return ConfigError{std::string(output::texts::kError1030Prefix) + std::string(sensor_argument) +
                       std::string(output::texts::kError1030Suffix)};
  }
  plan.item = ItemNameOf(*item_text);
  return Collected(pending, std::move(plan));
}

// The key of a group or item line, upper-cased as the lines are compared;
// nothing for another line or one too short for any sensor to read.
std::optional<std::string> LineKey(std::string_view line) {
  if (line.size() < kKeyLength) return std::nullopt;
  const std::string upper = platform::UpperCase(line.substr(0, kKeyLength));
  if (!upper.starts_with(kGroupMarker) && !upper.starts_with(kItemMarker)) return std::nullopt;
  return upper.substr(kGroupMarker.size());
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Where the text of a group or item line begins as written (0-based): the
// first character after the sensor name and the blanks that pad it. A name
// that fills its ten columns runs on to the next blank, as only its first
// ten characters count. Nothing when no text follows the name.
std::optional<std::size_t> WrittenTextStart(std::string_view line) {
  std::size_t name_end =
      kGroupMarker.size() +
      WithoutTrailingBlanks(line.substr(kGroupMarker.size(), kSensorNameLength)).size();
  if (name_end == kKeyLength) name_end = std::min(line.find(' ', kKeyLength), line.size());
  const std::size_t start = line.find_first_not_of(' ', name_end);
  if (start == std::string_view::npos) return std::nullopt;
  return start;
}

// The lines of the sensor key `key` whose text the sensor reads from
// another column than it begins in.
std::vector<MisplacedText> MisplacedTexts(const std::vector<std::string>& lines,
                                          const std::string& key) {
  std::vector<MisplacedText> misplaced;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    if (LineKey(line) != key) continue;
    const bool systems = platform::UpperCase(line.substr(0, kGroupMarker.size())) == kGroupMarker;
    const std::optional<std::size_t> start = WrittenTextStart(line);
    if (!start) continue;
    if (systems ? *start != kSystemsColumn : *start < kItemColumn) {
      misplaced.push_back({index, systems, *start + 1});
    }
  }
  return misplaced;
}

}  // namespace

Checked<ListingPlan> ReadGlobalListing(const std::vector<std::string>& lines,
                                       std::string_view upper_options,
                                       std::string_view sensor_argument) {
  return ReadForSensor(lines, SensorKey(upper_options), sensor_argument);
}

std::vector<ListedSensor> ReadEveryListedSensor(const std::vector<std::string>& lines) {
  std::vector<ListedSensor> sensors;
  std::vector<std::string> keys;
  for (const std::string& line : lines) {
    std::optional<std::string> key = LineKey(line);
    if (!key || std::find(keys.begin(), keys.end(), *key) != keys.end()) continue;
    const std::string_view written = WithoutTrailingBlanks(
        std::string_view(line).substr(kGroupMarker.size(), kSensorNameLength));
    const bool nameable = WithoutTrailingBlanks(*key).find(' ') == std::string_view::npos;
    sensors.push_back({std::string(written), nameable, ReadForSensor(lines, *key, written),
                       MisplacedTexts(lines, *key)});
    keys.push_back(std::move(*key));
  }
  return sensors;
}

Checked<ListingPlan> ReadItemListing(const std::vector<std::string>& lines, std::string item) {
  std::string pending;
  for (const std::string& line : lines) {
    bool group_heading = line.starts_with("# Gsng");
    bool marked = line.size() >= 8 && line.substr(6, 2) == ": ";
    if (!group_heading && !marked) pending.append(From(line, kSystemsColumn));
  }
  ListingPlan plan;
  plan.item = std::move(item);
  return Collected(pending, std::move(plan));
}

}  // namespace config
