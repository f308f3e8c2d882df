// Checking a profile file the way the single-system run reads it, listing
// every defect instead of stopping at the first.
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

ProfileReport CheckProfileText(std::string_view text, std::string_view profile_name);

}  // namespace profile_tool
