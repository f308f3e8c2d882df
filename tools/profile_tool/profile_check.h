// Checking a profile file the way the single-system run reads it, listing
// every defect instead of stopping at the first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile_tool {

struct ProfileDefect {
  int code;          // the error number the sensor reports it with
  std::size_t line;  // line of the file, counted from 1; 0 for the file as a whole
  std::string what;  // never holds the password
};

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

// What the sensor makes of a password value: Error 1004 or 1005 for the
// value, Error 1007 or 1003 for the password it holds; nullopt when it is
// accepted.
std::optional<ProfileDefect> PasswordValueDefect(std::string_view value, std::size_t line);

}  // namespace profile_tool
