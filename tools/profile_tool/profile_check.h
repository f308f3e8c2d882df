// Checking a profile file the way the single-system run reads it, listing
// every defect instead of stopping at the first; and a listing with the
// profiles it names, the way the listing run reads them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/profile_reader.h"

namespace profile_tool {

using config::ProfileDefect;

struct ProfileReport {
  // In the order the sensor checks: password lines as they come, then
  // User, Password and the field lengths.
  std::vector<ProfileDefect> defects;
  // What the sensor passes over without a word: cut lines, long values,
  // NUL bytes.
  std::vector<std::string> notes;
  // The message the sensor stops with; nullopt when it accepts the file.
  std::optional<std::string> sensor_message;
};

// "line 5: Error 1004: ..." or, for the file as a whole, "Error 1006: ...".
std::string DescribeDefect(const ProfileDefect& defect);

// Whether the defects of a profile read with its own credentials are only
// that it holds neither user nor password: a profile written for a sensor
// that logs on with the monitor's credentials ("CRED="), which reads it
// clean.
bool HoldsOnlyNoCredentials(const std::vector<ProfileDefect>& defects);

// `line_limit` is that of the run that reads the profile; with the
// monitor's credentials ("CRED=") the profile needs no user and password.
ProfileReport CheckProfileText(
    std::string_view text, std::string_view profile_name,
    std::size_t line_limit = config::kSingleSystemLineLimit,
    config::LogonCredentials credentials = config::LogonCredentials::kInProfile);

// The files `check` reads, told apart by their names in any case.
enum class CheckedFile { kProfile, kGlobalListing, kItemListing };
CheckedFile KindOfFile(std::string_view name);

// PRTG shows at most this many channels for one sensor, and a listing run
// reports one channel per system.
inline constexpr std::size_t kMostChannels = 50;

struct ListingReport {
  // Notes first ("note: line 4: ..." as for a profile), then per sensor key
  // of the global listing, or for the item listing's one list: its item and
  // number of systems or the error the sensor stops with, then its
  // findings; each line led by the key.
  std::vector<std::string> lines;
  std::size_t findings = 0;
};

// Reads the listing at `path` and the profiles it names in its directory as
// the listing run does; nothing when the listing cannot be read. `global`:
// the global sensor listing, else the item listing.
std::optional<ListingReport> CheckListing(
    const std::string& path, bool global,
    config::LogonCredentials credentials = config::LogonCredentials::kInProfile);

}  // namespace profile_tool
