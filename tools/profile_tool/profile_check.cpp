#include "tools/profile_tool/profile_check.h"

#include <array>
#include <cstdio>
#include <map>
#include <set>

#include "config/file_names.h"
#include "config/filling_items.h"
#include "config/global_listing.h"
#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "platform/files.h"
#include "platform/joined.h"
#include "platform/line_reader.h"
#include "platform/upper_case.h"
#include "tools/profile_tool/tool_texts.h"

namespace profile_tool {

using platform::Joined;
namespace {

using config::NumberedLine;

std::string LineNote(std::size_t number, std::string_view what) {
  return Joined(texts::kLine, number, texts::kFieldSeparator, what);
}

// The lines the sensor reads, each with the number of the file line it
// comes from: a file line longer than the limit gives several.
std::vector<NumberedLine> SensorLines(std::string_view text, std::size_t limit,
                                      std::vector<std::string>& notes) {
  std::vector<NumberedLine> lines;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    const std::string_view with_end = text.substr(0, end == text.npos ? text.size() : end + 1);
    text.remove_prefix(with_end.size());

    std::string_view content = with_end.substr(0, with_end.find('\n'));
    if (!content.empty() && content.back() == '\r' && with_end.back() == '\n') {
      content.remove_suffix(1);
    }
    if (content.size() > limit) {
      notes.push_back(
          LineNote(number, Joined(texts::kLongerThan, limit, texts::kReadAsFurtherLine)));
    }
    if (content.find('\0') != content.npos) {
      notes.push_back(LineNote(number, texts::kHoldsNul));
    }
    for (std::string& piece : platform::SplitLines(with_end, limit)) {
      lines.push_back({number, std::move(piece)});
    }
  }
  return lines;
}

// The whole file, opened as the sensor opens it; nothing when it cannot be.
std::optional<std::string> FileText(const std::string& windows_path) {
  const platform::UniqueFile file = platform::OpenForReading(windows_path);
  if (!file) return std::nullopt;
  std::string text;
  std::array<char, 4096> buffer{};
  for (std::size_t n = 0; (n = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0;) {
    text.append(buffer.data(), n);
  }
  return text;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Quoted(std::string_view text) { return Joined("\"", text, "\""); }

std::string Systems(std::size_t count) {
  return Joined(count, count == 1 ? texts::kSystem : texts::kSystems);
}

// Checks one sensor's list of systems; a listed profile is read once
// however often it is listed.
class ListingChecker {
 public:
  // `notes`: what the sensor passes over in the listing without a word.
  ListingChecker(std::string directory, const std::vector<std::string>& notes,
                 config::LogonCredentials credentials)
      : directory_(std::move(directory)), credentials_(credentials) {
    for (const std::string& note : notes) Line(texts::kNote, note);
  }

  // `lead` begins each line of this sensor; `item` says which item it
  // reports; `split` is the advice for too many systems, if any;
  // `findings` come before those on its systems.
  void Check(const std::string& lead, const config::Checked<config::ListingPlan>& checked,
             std::string_view item, std::string_view split,
             const std::vector<std::string>& findings = {}) {
    const auto* plan = std::get_if<config::ListingPlan>(&checked);
    if (plan == nullptr) {
      Finding(lead, std::get<config::ConfigError>(checked).message);
    } else {
      Line(lead, Joined(item, texts::kComma, Systems(plan->systems.size())));
    }
    for (const std::string& finding : findings) Finding(lead, finding);
    if (plan != nullptr) CheckSystems(lead, *plan, split);
  }

  void Finding(std::string_view lead, std::string_view text) {
    Line(lead, text);
    ++report_.findings;
  }

  ListingReport Take() { return std::move(report_); }

 private:
  void CheckSystems(std::string_view lead, const config::ListingPlan& plan,
                    std::string_view split) {
    if (plan.systems.size() > kMostChannels) {
      Finding(lead, Joined(Systems(plan.systems.size()), texts::kMoreThanChannels, kMostChannels,
                           texts::kChannelsForOneSensor, split));
    }
    std::set<std::string_view> seen;
    for (const std::string& entry : plan.systems) {
      if (!seen.insert(entry).second) continue;
      if (const std::optional<std::string>& finding = ProfileFinding(entry)) {
        Finding(lead, *finding);
      }
    }
  }

  void Line(std::string_view lead, std::string_view text) {
    report_.lines.push_back(Joined(lead, texts::kFieldSeparator, text));
  }

  // Missing, or the first defect the listing run fails the system for;
  // nothing for a profile it reads clean.
  const std::optional<std::string>& ProfileFinding(const std::string& entry) {
    auto [at, fresh] = profiles_.try_emplace(entry);
    if (!fresh) return at->second;
    const std::optional<std::string> text = FileText(directory_ + entry);
    if (!text) {
      at->second = Joined(Quoted(entry), texts::kMissing);
      return at->second;
    }
    const ProfileReport report =
        CheckProfileText(*text, entry, config::kListingLineLimit, credentials_);
    if (!report.defects.empty()) {
      at->second = Joined(Quoted(entry), texts::kDefective, DescribeDefect(report.defects.front()));
      if (report.defects.size() > 1) {
        at->second->append(Joined(texts::kAndMore, report.defects.size() - 1, texts::kMore));
      }
    }
    return at->second;
  }

  std::string directory_;
  config::LogonCredentials credentials_;
  std::map<std::string, std::optional<std::string>> profiles_;
  ListingReport report_;
};

// What a sensor of the global listing misreads, besides the errors it
// stops with: a key no sensor can be named with, texts the sensor reads
// from another column than they begin in (`line_numbers`: the file line of
// each line read), an item it reports no value for.
std::vector<std::string> SensorFindings(const config::ListedSensor& sensor,
                                        const std::vector<std::size_t>& line_numbers) {
  std::vector<std::string> findings;
  if (!sensor.nameable) findings.emplace_back(texts::kNotNameable);
  for (const config::MisplacedText& text : sensor.misplaced) {
    findings.push_back(text.systems
                           ? LineNote(line_numbers[text.line_index],
                                      Joined(texts::kSystemsStartIn, text.column,
                                             texts::kSystemsReadFrom, config::kSystemsFirstColumn))
                           : LineNote(line_numbers[text.line_index],
                                      Joined(texts::kItemStartsIn, text.column,
                                             texts::kItemReadFrom, config::kItemFirstColumn)));
  }
  const auto* plan = std::get_if<config::ListingPlan>(&sensor.plan);
  if (plan != nullptr && !config::IsFillingItem(plan->item)) {
    std::string finding = Joined(texts::kItem, Quoted(plan->item), texts::kUnknownItem);
    for (std::string_view item : config::kFillingItems) {
      if (item != config::kFillingItems.front()) finding.append(texts::kComma);
      finding.append(item);
    }
    findings.push_back(std::move(finding));
  }
  return findings;
}

}  // namespace

std::string DescribeDefect(const ProfileDefect& defect) {
  const std::string where =
      defect.line == 0 ? "" : Joined(texts::kLine, defect.line, texts::kFieldSeparator);
  return Joined(where, texts::kError, defect.code, texts::kFieldSeparator, defect.what);
}

bool HoldsOnlyNoCredentials(const std::vector<ProfileDefect>& defects) {
  // The reader reports them last but the field lengths, for the file as a
  // whole: 1006 for an empty User, 1007 for an empty Password.
  return defects.size() == 2 && defects[0].code == 1006 && defects[0].line == 0 &&
         defects[1].code == 1007 && defects[1].line == 0;
}

ProfileReport CheckProfileText(std::string_view text, std::string_view profile_name,
                               std::size_t line_limit, config::LogonCredentials credentials) {
  ProfileReport report;
  const std::vector<NumberedLine> lines = SensorLines(text, line_limit, report.notes);
  for (const NumberedLine& line : lines) {
    const std::optional<config::ProfileLine> entry = config::ParseProfileLine(line.text);
    if (entry && line.text.size() > config::kValueOffset + config::kLongestValue) {
      report.notes.push_back(
          LineNote(line.number, Joined(entry->field->name, texts::kValueLongerThan,
                                       config::kLongestValue, texts::kRestIgnored)));
    }
  }
  report.defects = config::ReadProfile(lines, credentials).defects;
  if (!report.defects.empty()) {
    report.sensor_message = config::DefectMessage(report.defects.front(), profile_name);
  }
  return report;
}

CheckedFile KindOfFile(std::string_view name) {
  const std::string upper = platform::UpperCase(name);
  if (upper == platform::UpperCase(config::file_names::kGlobalListing)) {
    return CheckedFile::kGlobalListing;
  }
  if (upper == platform::UpperCase(config::file_names::kItemListing)) {
    return CheckedFile::kItemListing;
  }
  return CheckedFile::kProfile;
}

std::optional<ListingReport> CheckListing(const std::string& path, bool global,
                                          config::LogonCredentials credentials) {
  const std::optional<std::string> text = FileText(path);
  if (!text) return std::nullopt;
  std::vector<std::string> notes;
  std::vector<std::string> lines;
  std::vector<std::size_t> line_numbers;
  for (NumberedLine& line : SensorLines(*text, config::kListingLineLimit, notes)) {
    lines.push_back(std::move(line.text));
    line_numbers.push_back(line.number);
  }
  ListingChecker checker(DirectoryOf(path), notes, credentials);
  if (!global) {
    // The item comes with "ITEM=" on the sensor's command line; whichever
    // it is, the same systems are read.
    checker.Check(std::string(texts::kList), config::ReadItemListing(lines, "ITEM="),
                  texts::kItemFromCommandLine, "");
    return checker.Take();
  }
  const std::vector<config::ListedSensor> sensors = config::ReadEveryListedSensor(lines);
  if (sensors.empty()) {
    checker.Finding(texts::kListing, texts::kNoSensorLines);
  }
  for (const config::ListedSensor& sensor : sensors) {
    const std::string lead = Joined(texts::kKey, Quoted(sensor.key));
    const auto* plan = std::get_if<config::ListingPlan>(&sensor.plan);
    checker.Check(lead, sensor.plan,
                  plan != nullptr ? Joined(texts::kItem, Quoted(plan->item)) : "",
                  texts::kSplitTheKey, SensorFindings(sensor, line_numbers));
  }
  return checker.Take();
}

}  // namespace profile_tool
