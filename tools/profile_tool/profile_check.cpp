#include "tools/profile_tool/profile_check.h"

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "config/profile_reader.h"
#include "include/run_end.h"
#include "platform/line_reader.h"
#include "tools/profile_tool/joined.h"

namespace profile_tool {
namespace {

using config::kSingleSystemLineLimit;

struct NumberedLine {
  std::size_t number;  // of the file's line it comes from
  std::string text;
};

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

std::optional<std::string> SensorMessage(const std::vector<NumberedLine>& numbered,
                                         std::string_view profile_name) {
  std::vector<std::string> lines;
  for (const NumberedLine& line : numbered) {
    lines.push_back(line.text);
  }
  ConnectionProfile profile;
  try {
    config::ReadProfile(lines, RunKind::kSingleSystem, profile_name, profile);
  } catch (const ErrorDocumentExit& e) {
    return e.what();
  }
  return std::nullopt;
}

std::string Characters(std::size_t n) { return Joined(n, n == 1 ? " character" : " characters"); }

void CheckFieldLengths(const ConnectionProfile& profile, bool password_reported,
                       std::vector<ProfileDefect>& defects) {
  for (const config::ProfileField& field : config::kProfileFields) {
    const std::size_t size = (profile.*field.member).size();
    const bool reported = &field == &config::kPasswordField
                              ? password_reported || size == 0
                              : field.member == &ConnectionProfile::User && size == 0;
    if (reported) {
      continue;
    }
    const std::string has = Joined(field.name, " has ", Characters(size));
    if (config::IsShort(field, profile)) {
      defects.push_back({1003, 0, Joined(has, "; it needs at least ", field.minimum_length)});
    } else if (config::IsOverlong(field, profile)) {
      defects.push_back({1003, 0, Joined(has, "; it holds at most ", field.capacity)});
    }
  }
}

}  // namespace

std::optional<ProfileDefect> PasswordValueDefect(std::string_view value, std::size_t line) {
  if (value.empty()) {
    return ProfileDefect{1007, line, "the password value is empty"};
  }
  const config::UnscrambledPassword result = config::UnscramblePassword(value);
  if (value.size() != config::kScrambledLength) {
    return ProfileDefect{1004, line,
                         Joined("the password value has ", Characters(value.size()), ", not ",
                                config::kScrambledLength)};
  }
  if (!result.well_formed) {
    return ProfileDefect{1004, line,
                         "the password value does not start with four scrambled digits"
                         " (written with another key?)"};
  }
  if (!result.password) {
    return ProfileDefect{1005, line, "the password value fails its check digit (changed by hand?)"};
  }
  if (result.password->empty()) {
    return ProfileDefect{1007, line, "the password value holds an empty password"};
  }
  if (result.password->size() < config::kPasswordField.minimum_length) {
    return ProfileDefect{
        1003, line,
        Joined("the password value holds a password of ", Characters(result.password->size()),
               "; the sensor needs at least ", config::kPasswordField.minimum_length)};
  }
  return std::nullopt;
}

std::string DescribeDefect(const ProfileDefect& defect) {
  const std::string where = defect.line == 0 ? "" : Joined("line ", defect.line, ": ");
  return Joined(where, "Error ", defect.code, ": ", defect.what);
}

ProfileReport CheckProfileText(std::string_view text, std::string_view profile_name) {
  ProfileReport report;
  const std::vector<NumberedLine> lines = SensorLines(text, report.notes);
  ConnectionProfile profile;
  bool password_reported = false;
  for (const NumberedLine& line : lines) {
    const std::optional<config::ProfileLine> entry = config::ParseProfileLine(line.text);
    if (!entry) {
      continue;
    }
    if (line.text.size() > config::kValueOffset + config::kLongestValue) {
      report.notes.push_back(LineNote(
          line.number, Joined(entry->field->name, " value longer than ", config::kLongestValue,
                              " characters; the sensor ignores the rest")));
    }
    if (entry->field != &config::kPasswordField) {
      config::StoreProfileValue(*entry->field, entry->value, profile);
      continue;
    }
    if (entry->value.empty()) {
      profile.Password.clear();
      continue;
    }
    config::UnscrambledPassword result = config::UnscramblePassword(entry->value);
    if (result.well_formed && result.password) {
      profile.Password = std::move(*result.password);
      continue;
    }
    report.defects.push_back(*PasswordValueDefect(entry->value, line.number));
    password_reported = true;
  }

  if (profile.User.empty()) {
    report.defects.push_back({1006, 0, "there is no User"});
  }
  if (profile.Password.empty() && !password_reported) {
    report.defects.push_back({1007, 0, "there is no Password"});
  }
  CheckFieldLengths(profile, password_reported, report.defects);
  report.sensor_message = SensorMessage(lines, profile_name);
  return report;
}

}  // namespace profile_tool
