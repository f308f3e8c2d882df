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

#include "config/profile_fields.h"
#include "include/connection_profile.h"
#include "include/run_kind.h"

namespace config {

// Longer lines are cut there and the rest is read as a further line.
inline constexpr std::size_t kSingleSystemLineLimit = 159;
inline constexpr std::size_t kListingLineLimit = 199;
std::size_t ProfileLineLimit(RunKind kind);

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

// Applies `lines` (as the line readers deliver them, with the limit of
// `kind`) to `profile` in order; a later line for the same label wins and
// fields no line names keep their values.
//
// Single-system run: throws ErrorDocumentExit with the message of the first
// defect: Error 1004 or 1005 as soon as a password line is malformed or
// fails its check digit; after the last line Error 1006 for an empty User,
// Error 1007 for an empty Password, then Error 1003 for the first field that
// is shorter than its minimum or longer than it can hold. Returns false.
//
// Listing run: never throws. Returns true when the system is to be marked
// failed: a password line malformed or failing its check digit (Password
// then keeps its earlier value unless the malformed value still passes the
// check digit), or a field, after the last line, longer than it can hold.
// The minimum lengths are the caller's to check (FirstShortField).
bool ReadProfile(const std::vector<std::string>& lines, RunKind kind, std::string_view profile_name,
                 ConnectionProfile& profile);

// The messages of the profile errors: prefix, profile name, suffix.
std::string ProfileMessage(std::string_view prefix, std::string_view profile_name,
                           std::string_view suffix);

}  // namespace config
