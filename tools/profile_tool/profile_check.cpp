#include "tools/profile_tool/profile_check.h"

#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "platform/line_reader.h"
#include "tools/profile_tool/joined.h"

namespace profile_tool {
namespace {

using config::kSingleSystemLineLimit;

using config::NumberedLine;

std::string LineNote(std::size_t number, std::string_view what) {
  return Joined("line ", number, ": ", what);
}

// The lines the sensor reads, each with the number of the file line it
// comes from: a file line longer than the limit gives several.
std::vector<NumberedLine> SensorLines(std::string_view text, std::vector<std::string>& notes) {
  std::vector<NumberedLine> lines;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::size_t end = text.find('\n');
    const std::string_view with_end = text.substr(0, end == text.npos ? text.size() : end + 1);
    text.remove_prefix(with_end.size());

    std::string_view content = with_end.substr(0, with_end.find('\n'));
    if (!content.empty() && content.back() == '\r' && with_end.back() == '\n') {
      content.remove_suffix(1);
    }
    if (content.size() > kSingleSystemLineLimit) {
      notes.push_back(LineNote(number, Joined("longer than ", kSingleSystemLineLimit,
                                              " characters; the sensor reads the rest as a "
                                              "further line")));
    }
    if (content.find('\0') != content.npos) {
      notes.push_back(LineNote(number, "holds a NUL byte; the sensor ignores what follows it"));
    }
    for (std::string& piece : platform::SplitLines(with_end, kSingleSystemLineLimit)) {
      lines.push_back({number, std::move(piece)});
    }
  }
  return lines;
}

}  // namespace

std::string DescribeDefect(const ProfileDefect& defect) {
  const std::string where = defect.line == 0 ? "" : Joined("line ", defect.line, ": ");
  return Joined(where, "Error ", defect.code, ": ", defect.what);
}

ProfileReport CheckProfileText(std::string_view text, std::string_view profile_name) {
  ProfileReport report;
  const std::vector<NumberedLine> lines = SensorLines(text, report.notes);
  for (const NumberedLine& line : lines) {
    const std::optional<config::ProfileLine> entry = config::ParseProfileLine(line.text);
    if (entry && line.text.size() > config::kValueOffset + config::kLongestValue) {
      report.notes.push_back(LineNote(
          line.number, Joined(entry->field->name, " value longer than ", config::kLongestValue,
                              " characters; the sensor ignores the rest")));
    }
  }
  report.defects = config::ReadProfile(lines).defects;
  if (!report.defects.empty()) {
    report.sensor_message = config::DefectMessage(report.defects.front(), profile_name);
  }
  return report;
}

}  // namespace profile_tool
