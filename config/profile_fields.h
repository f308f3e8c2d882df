// The eleven settings of a profile file: their labels, the shortest value
// each accepts and the longest value each holds, and the checks on them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/connection_profile.h"

namespace config {

struct ProfileField {
  std::string_view label;  // columns 1-12 of its line, compared whole
  std::string_view name;
  std::string ConnectionProfile::*member;
  std::size_t minimum_length;
  // The longest value the field holds. A longer value is a defect of the
  // profile, never cut to fit.
  std::size_t capacity;
};

inline constexpr std::size_t kLabelLength = 12;

// In the order the checks report them.
inline constexpr std::array<ProfileField, 11> kProfileFields = {{
    {"Extcompany.:", "Extcompany", &ConnectionProfile::Extcompany, 2, 63},
    {"Destination:", "Destination", &ConnectionProfile::Destination, 3, 11},
    {"Client.....:", "Client", &ConnectionProfile::Client, 3, 11},
    {"User.......:", "User", &ConnectionProfile::User, 2, 47},
    {"Password...:", "Password", &ConnectionProfile::Password, 2, 31},
    {"Language...:", "Language", &ConnectionProfile::Language, 1, 31},
    {"Mode.......:", "Mode", &ConnectionProfile::Mode, 3, 31},
    {"Hostname...:", "Hostname", &ConnectionProfile::Hostname, 2, 47},
    {"Sysnr......:", "Sysnr", &ConnectionProfile::Sysnr, 2, 31},
    {"Gwhost.....:", "Gwhost", &ConnectionProfile::Gwhost, 2, 61},
    {"Gwservice..:", "Gwservice", &ConnectionProfile::Gwservice, 2, 31},
}};

// The field whose label `label` is, compared whole and case-sensitively.
const ProfileField* FindProfileField(std::string_view label);

inline constexpr const ProfileField& kPasswordField = kProfileFields[4];
static_assert(kPasswordField.label == "Password...:");

inline bool IsShort(const ProfileField& field, const ConnectionProfile& profile) {
  return (profile.*field.member).size() < field.minimum_length;
}
inline bool IsOverlong(const ProfileField& field, const ConnectionProfile& profile) {
  return (profile.*field.member).size() > field.capacity;
}

// The name of the first field, in table order, shorter than its minimum.
// An empty User or Password is always short. The listing run marks such a
// system failed.
std::optional<std::string_view> FirstShortField(const ConnectionProfile& profile);

// The name of the first field longer than it can hold.
std::optional<std::string_view> FirstOverlongField(const ConnectionProfile& profile);

// The name of the first field that is either: what Error 1003 reports.
std::optional<std::string_view> FirstInvalidField(const ConnectionProfile& profile);

}  // namespace config
