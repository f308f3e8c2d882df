#include "config/global_listing.h"

#include <algorithm>

#include "config/profile_reader.h"
#include "include/run_end.h"
#include "include/texts.h"
#include "include/upper_case.h"
#include "platform/line_reader.h"

namespace {

constexpr std::string_view kGroupMarker = "# GSNG: ";
constexpr std::string_view kItemMarker = "# GSNX: ";
// Marker and sensor name: "# GSNx: " and ten characters.
constexpr std::size_t kKeyLength = 18;
constexpr std::size_t kSensorNameLength = 10;
// Systems and item texts start in columns 21 and 20.
constexpr std::size_t kSystemsColumn = 20;
constexpr std::size_t kItemColumn = 19;
constexpr std::string_view kSensorMark = "Sensor=\"SAP Brackwater\"";
constexpr std::string_view kSensorCut = ",Sensor=";
constexpr std::string_view kItemKeyword = "Item=";
constexpr std::size_t kItemNameLimit = 90;

std::string SensorKey(const std::string& run_options) {
  std::string key = run_options.substr(0, run_options.find(' '));
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
// ",Host", ",Sid" (in that order of precedence) that is present.
void TakeNamingKind(RunState& run, std::string_view line) {
  constexpr std::pair<std::string_view, char> kWords[] = {
      {",Profile", '1'}, {",Alias", '2'}, {",Host", '3'}, {",Sid", '4'}};
  for (const auto& [word, kind] : kWords) {
    if (line.find(word) != std::string_view::npos) run.NamingKind = kind;
  }
}

std::string ItemNameOf(std::string_view item_text) {
  std::size_t at = item_text.find(kItemKeyword);
  if (at == std::string_view::npos) return {};
  std::string_view rest = item_text.substr(at + kItemKeyword.size());
  rest = rest.substr(0, std::min({rest.find(' '), rest.find(','), kItemNameLimit}));
  std::string name(rest);
  std::replace(name.begin(), name.end(), ':', ' ');
  return name;
}

void ResetListing(RunState& run) {
  run.PendingSystems.clear();
  run.NamingKind = '1';
  run.SystemCount = 0;
  run.ProcessedCount = 0;
  run.FailedCount = 0;
}

void CheckCollected(const RunState& run) {
  if (run.PendingSystems.empty()) throw ErrorDocumentExit(std::string(texts::kError1025));
  if (run.ItemName.empty()) throw ErrorDocumentExit(std::string(texts::kError1026));
}

std::vector<std::string> ReadLines(const RunState& run, std::string_view prefix,
                                   std::string_view suffix) {
  // Listings are read with the line limit of the listing run.
  platform::LineReader reader(run.ProfilePath, config::kListingLineLimit);
  if (!reader.IsOpen()) {
    throw ErrorDocumentExit(std::string(prefix) + run.ProfileName + std::string(suffix));
  }
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  return lines;
}

}  // namespace

void ApplyGlobalListing(RunState& run, const std::vector<std::string>& lines) {
  ResetListing(run);
  const std::string sensor = SensorKey(run.RunOptions);
  const std::string group_key = std::string(kGroupMarker) + sensor;
  const std::string item_key = std::string(kItemMarker) + sensor;
  run.ItemName.clear();
  std::optional<std::string> item_text;
  for (const std::string& line : lines) {
    std::string upper = UpperCase(line);
    if (KeyMatches(upper, group_key)) {
      run.PendingSystems.append(From(line, kSystemsColumn));
    } else if (KeyMatches(upper, item_key)) {
      item_text = std::string(From(line, kItemColumn));
      if (item_text->find(kSensorMark) == std::string::npos) {
        throw ErrorDocumentExit(std::string(texts::kError1029));
      }
      std::string options = item_text->substr(0, item_text->find(kSensorCut));
      std::replace(options.begin(), options.end(), ':', ' ');
      run.RunOptionsOriginal = options;
      TakeNamingKind(run, line);
    }
  }
  if (!item_text) {
    std::string sensor_argument = run.Arguments.size() > 1 ? run.Arguments[1] : "";
    throw ErrorDocumentExit(std::string(texts::kError1030Prefix) + sensor_argument +
                            std::string(texts::kError1030Suffix));
  }
  run.ItemName = ItemNameOf(*item_text);
  CheckCollected(run);
}

void ApplyItemListing(RunState& run, const std::vector<std::string>& lines) {
  ResetListing(run);
  for (const std::string& line : lines) {
    bool group_heading = line.starts_with("# Gsng");
    bool marked = line.size() >= 8 && line.substr(6, 2) == ": ";
    if (!group_heading && !marked) run.PendingSystems.append(From(line, kSystemsColumn));
  }
  CheckCollected(run);
}

void ReadGlobalListing(RunState& run) {
  if (run.ProfileName == file_names::kGlobalListing) {
    ApplyGlobalListing(run, ReadLines(run, texts::kError10x1Prefix, texts::kError10x1Suffix));
  } else {
    ApplyItemListing(run, ReadLines(run, texts::kError1024Prefix, texts::kError1024Suffix));
  }
  run.ProfilePath = run.ProfileDirectory;
}
