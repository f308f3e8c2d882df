#include "config/profile_reader.h"

#include <algorithm>
#include <utility>

#include "config/password_scramble.h"
#include "include/run_end.h"
#include "include/texts.h"

namespace config {
namespace {

char ToUpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

[[noreturn]] void Fail(std::string_view prefix, std::string_view profile_name,
                       std::string_view suffix) {
  throw ErrorDocumentExit(ProfileMessage(prefix, profile_name, suffix));
}

// Returns true when the value is defective (listing run only; the single
// run ends here instead).
bool ApplyPasswordValue(std::string_view value, RunKind kind, std::string_view profile_name,
                        ConnectionProfile& profile) {
  if (value.empty()) {
    profile.Password.clear();  // the checks after the last line report it
    return false;
  }
  UnscrambledPassword result = UnscramblePassword(value);
  if (kind == RunKind::kSingleSystem) {
    if (!result.well_formed) {
      Fail(texts::kError1004Prefix, profile_name, texts::kError1004Suffix);
    }
    if (!result.password) {
      Fail(texts::kError1005Prefix, profile_name, texts::kError1005Suffix);
    }
  }
  if (result.password) {
    profile.Password = std::move(*result.password);
  }
  return !result.well_formed || !result.password;
}

void CheckSingleSystemProfile(const ConnectionProfile& profile, std::string_view profile_name) {
  if (profile.User.empty()) {
    Fail(texts::kError1006Prefix, profile_name, texts::kError1006Suffix);
  }
  if (profile.Password.empty()) {
    Fail(texts::kError1007Prefix, profile_name, texts::kError1007Suffix);
  }
  if (FirstInvalidField(profile)) {
    Fail(texts::kError1003Prefix, profile_name, texts::kError1003Suffix);
  }
}

}  // namespace

std::size_t ProfileLineLimit(RunKind kind) {
  return kind == RunKind::kSingleSystem ? kSingleSystemLineLimit : kListingLineLimit;
}

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
    std::transform(stored.begin(), stored.end(), stored.begin(), ToUpperAscii);
  } else if (field.member == &ConnectionProfile::Hostname) {
    profile.HostnameDisplay = stored;
  }
}

bool ReadProfile(const std::vector<std::string>& lines, RunKind kind, std::string_view profile_name,
                 ConnectionProfile& profile) {
  bool failed = false;
  for (const std::string& line : lines) {
    const std::optional<ProfileLine> entry = ParseProfileLine(line);
    if (!entry) {
      continue;
    }
    if (entry->field == &kPasswordField) {
      failed = ApplyPasswordValue(entry->value, kind, profile_name, profile) || failed;
    } else {
      StoreProfileValue(*entry->field, entry->value, profile);
    }
  }
  if (kind == RunKind::kSingleSystem) {
    CheckSingleSystemProfile(profile, profile_name);
    return false;
  }
  return failed || FirstOverlongField(profile).has_value();
}

std::string ProfileMessage(std::string_view prefix, std::string_view profile_name,
                           std::string_view suffix) {
  std::string message(prefix);
  message.append(profile_name).append(suffix);
  return message;
}

}  // namespace config
