// The commands of the profile tool, each given its parsed options.
#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "config/connection_profile.h"
#include "config/profile_fields.h"
#include "tools/profile_tool/tool_console.h"

namespace profile_tool {

struct NewCommand {
  config::ConnectionProfile settings;  // every field but the password
  // Given on the command line; without it the password is read from
  // standard input, so that it stays out of the shell's history.
  std::optional<std::string> password;
  std::optional<int> offset;
  std::string output;  // empty: standard output
  bool force = false;  // replace an existing output file
  // For a sensor that logs on with PRTG's credentials ("CRED="): no User
  // and no Password line, and no password asked for.
  bool prtg_credentials = false;
};

// The option of `field` in the new command: "--" and its name in lower case.
std::string OptionName(const config::ProfileField& field);

// Each returns the exit code, kToolSuccess or kToolRefused.
int RunNew(const NewCommand& command, ToolConsole& console, std::mt19937& random);
int RunScramble(std::optional<int> offset, ToolConsole& console, std::mt19937& random);
int RunUnscramble(std::string_view value, bool verify, ToolConsole& console);
int RunCheck(const std::string& path, bool prtg_credentials, ToolConsole& console);

}  // namespace profile_tool
