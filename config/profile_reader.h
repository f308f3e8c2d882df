// Reading a profile file: labelled lines with the logon settings of one SAP
// system, the password scrambled.
//
//   columns 1-12  the label, e.g. "Client.....:", compared whole and
//                 case-sensitively; lines with no label are ignored
//   column 13     a separator, not read
//   column 14-73  the value: at most 60 characters, the rest of the line is
//                 ignored; blanks inside and at the end belong to it
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/connection_profile.h"
#include "config/profile_fields.h"
#

namespace config {

// Longer lines are cut there and the rest is read as a further line.
inline constexpr std::size_t kSingleSystemLineLimit = 159;
inline constexpr std::size_t kListingLineLimit = 199;

inline constexpr std::size_t kValueOffset = 13;  // column 14
inline constexpr std::size_t kLongestValue = 60;

struct ProfileLine {
  const ProfileField* field;
  std::string_view value;  // points into the line
};

// The setting a line holds, if its first twelve characters are a label. A
// line of the label alone, with or without the separator, has an empty value.
std::optional<ProfileLine> ParseProfileLine(std::string_view line);

// Stores the value of any field but the password: User upper-cased (ASCII
// letters), Hostname also into its display copy, the rest as they are.
void StoreProfileValue(const ProfileField& field, std::string_view value,
                       ConnectionProfile& profile);

// A defect of a profile: the error number the sensor reports it with, the
// line of the file it was found on (0 for the file as a whole) and what is
// wrong, in words for the operator that never hold the password.
struct ProfileDefect {
  int code;
  std::size_t line;
  std::string what;

  bool operator==(const ProfileDefect&) const = default;
};

// A line as the line reader delivers it, with the number of the file line
// it comes from (a file line longer than the limit gives several).
struct NumberedLine {
  std::size_t number;
  std::string text;
};

struct ProfileReading {
  ConnectionProfile profile;
  // In the order the sensor checks, so that the first is the one a
  // single-system run stops with: password lines as they come, then an
  // empty User (1006), an empty Password (1007), then each field shorter
  // than its minimum or longer than it can hold, in table order (1003).
  std::vector<ProfileDefect> defects;
};

// Where the logon's user and password come from: the profile, or the
// monitor, which hands over the credentials it keeps ("CRED="). In the
// latter case the profile's User and Password lines are not read and not
// needed.
enum class LogonCredentials { kInProfile, kFromMonitor };

// Applies `lines` (as the line readers deliver them, with the limit of the
// run) to a profile in order; a later line for the same label wins. A
// password value that fails to unscramble leaves the password as it was,
// unless the value still passes its check digit. A single-system run stops
// at the first defect; a listing run marks the system failed when there is
// any.
ProfileReading ReadProfile(const std::vector<NumberedLine>& lines,
                           LogonCredentials credentials = LogonCredentials::kInProfile);
// The same with lines numbered from 1.
ProfileReading ReadProfile(const std::vector<std::string>& lines,
                           LogonCredentials credentials = LogonCredentials::kInProfile);

// What the sensor makes of a password value alone: Error 1004 or 1005 for
// the value, Error 1007 or 1003 for the password it holds; nothing when it
// is accepted.
std::optional<ProfileDefect> PasswordValueDefect(std::string_view value, std::size_t line);

// The error document's text of a defect in the profile named so.
std::string DefectMessage(const ProfileDefect& defect, std::string_view profile_name);

}  // namespace config
