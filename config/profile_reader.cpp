#include "config/profile_reader.h"

#include <algorithm>
#include <utility>

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "output/texts.h"
#include "platform/upper_case.h"

namespace config {
namespace {

std::string Characters(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " character" : " characters");
}

bool IsCredential(const ProfileField& field) {
  return &field == &kPasswordField || field.member == &ConnectionProfile::User;
}

void AddFieldLengthDefects(const ConnectionProfile& profile, bool password_reported,
                           LogonCredentials credentials, std::vector<ProfileDefect>& defects) {
  for (const ProfileField& field : kProfileFields) {
    if (credentials == LogonCredentials::kFromMonitor && IsCredential(field)) {
      continue;
    }
    const std::size_t size = (profile.*field.member).size();
    const bool reported = &field == &kPasswordField
                              ? password_reported || size == 0
                              : field.member == &ConnectionProfile::User && size == 0;
    if (reported) {
      continue;
    }
    const std::string has = std::string(field.name) + " has " + Characters(size);
    if (IsShort(field, profile)) {
      defects.push_back(
          {1003, 0, has + "; it needs at least " + std::to_string(field.minimum_length)});
    } else if (IsOverlong(field, profile)) {
      defects.push_back({1003, 0, has + "; it holds at most " + std::to_string(field.capacity)});
    }
  }
}

}  // namespace

std::optional<ProfileLine> ParseProfileLine(std::string_view line) {
  const ProfileField* field = FindProfileField(line.substr(0, kLabelLength));
  if (field == nullptr) {
    return std::nullopt;
  }
  std::string_view value =
      line.size() > kValueOffset ? line.substr(kValueOffset, kLongestValue) : std::string_view();
  return ProfileLine{field, value};
}

void StoreProfileValue(const ProfileField& field, std::string_view value,
                       ConnectionProfile& profile) {
  std::string& stored = profile.*field.member;
  stored.assign(value);
  if (field.member == &ConnectionProfile::User) {
    stored = platform::UpperCase(stored);
  } else if (field.member == &ConnectionProfile::Hostname) {
    profile.HostnameDisplay = stored;
  }
}

ProfileReading ReadProfile(const std::vector<NumberedLine>& lines, LogonCredentials credentials) {
  ProfileReading reading;
  ConnectionProfile& profile = reading.profile;
  bool password_reported = false;
  const bool from_monitor = credentials == LogonCredentials::kFromMonitor;
  for (const NumberedLine& line : lines) {
    const std::optional<ProfileLine> entry = ParseProfileLine(line.text);
    if (!entry || (from_monitor && IsCredential(*entry->field))) {
      continue;
    }
    if (entry->field != &kPasswordField) {
      StoreProfileValue(*entry->field, entry->value, profile);
      continue;
    }
    if (entry->value.empty()) {
      profile.Password.clear();  // the checks after the last line report it
      continue;
    }
    UnscrambledPassword result = UnscramblePassword(entry->value);
    const bool accepted = result.well_formed && result.password.has_value();
    if (result.password) {
      profile.Password = std::move(*result.password);
    }
    if (!accepted) {
      reading.defects.push_back(*PasswordValueDefect(entry->value, line.number));
      password_reported = true;
    }
  }
  if (profile.User.empty() && !from_monitor) {
    reading.defects.push_back({1006, 0, "there is no User"});
  }
  if (profile.Password.empty() && !password_reported && !from_monitor) {
    reading.defects.push_back({1007, 0, "there is no Password"});
  }
  AddFieldLengthDefects(profile, password_reported, credentials, reading.defects);
  return reading;
}

ProfileReading ReadProfile(const std::vector<std::string>& lines, LogonCredentials credentials) {
  std::vector<NumberedLine> numbered;
  numbered.reserve(lines.size());
  for (const std::string& line : lines) numbered.push_back({numbered.size() + 1, line});
  return ReadProfile(numbered, credentials);
}

std::optional<ProfileDefect> PasswordValueDefect(std::string_view value, std::size_t line) {
  if (value.empty()) {
    return ProfileDefect{1007, line, "the password value is empty"};
  }
  const UnscrambledPassword result = UnscramblePassword(value);
  if (value.size() != kScrambledLength) {
    return ProfileDefect{1004, line,
                         "the password value has " + Characters(value.size()) + ", not " +
                             std::to_string(kScrambledLength)};
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
  if (result.password->size() < kPasswordField.minimum_length) {
    return ProfileDefect{1003, line,
                         "the password value holds a password of " +
                             Characters(result.password->size()) + "; the sensor needs at least " +
                             std::to_string(kPasswordField.minimum_length)};
  }
  return std::nullopt;
}

std::string DefectMessage(const ProfileDefect& defect, std::string_view profile_name) {
  const auto [prefix, suffix] = [&]() -> std::pair<std::string_view, std::string_view> {
    switch (defect.code) {
      case 1004:
        return {output::texts::kError1004Prefix, output::texts::kError1004Suffix};
      case 1005:
        return {output::texts::kError1005Prefix, output::texts::kError1005Suffix};
      case 1006:
        return {output::texts::kError1006Prefix, output::texts::kError1006Suffix};
      case 1007:
        return {output::texts::kError1007Prefix, output::texts::kError1007Suffix};
      default:
        return {output::texts::kError1003Prefix, output::texts::kError1003Suffix};
    }
  }();
  return std::string(prefix).append(profile_name).append(suffix);
}

}  // namespace config
