#include "config/profile_fields.h"

#include <algorithm>

namespace config {
namespace {

template <typename Predicate>
std::optional<std::string_view> FirstField(const ConnectionProfile& profile, Predicate failed) {
  for (const ProfileField& field : kProfileFields) {
    if (failed(field, profile)) {
      return field.name;
    }
  }
  return std::nullopt;
}

}  // namespace

const ProfileField* FindProfileField(std::string_view label) {
  auto found = std::find_if(kProfileFields.begin(), kProfileFields.end(),
                            [label](const ProfileField& field) { return field.label == label; });
  return found == kProfileFields.end() ? nullptr : &*found;
}

std::optional<std::string_view> FirstShortField(const ConnectionProfile& profile) {
  return FirstField(profile, IsShort);
}

std::optional<std::string_view> FirstOverlongField(const ConnectionProfile& profile) {
  return FirstField(profile, IsOverlong);
}

std::optional<std::string_view> FirstInvalidField(const ConnectionProfile& profile) {
  return FirstField(profile, [](const ProfileField& field, const ConnectionProfile& p) {
    return IsShort(field, p) || IsOverlong(field, p);
  });
}

}  // namespace config
