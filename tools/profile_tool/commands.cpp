#include "tools/profile_tool/commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "config/password_scramble.h"
#include "config/profile_reader.h"
#include "platform/line_reader.h"
#include "platform/upper_case.h"
#include "tools/profile_tool/password_input.h"
#include "tools/profile_tool/profile_check.h"
#include "tools/profile_tool/profile_text.h"
#include "tools/profile_tool/tool_texts.h"

namespace profile_tool {
namespace {

using texts::kLead;

bool RefuseValues(const NewCommand& command, std::ostream& err) {
  bool refused = false;
  for (const config::ProfileField& field : config::kProfileFields) {
    if (&field == &config::kPasswordField ||
        (command.prtg_credentials && field.member == &config::ConnectionProfile::User)) {
      continue;
    }
    if (std::optional<std::string> why = ValueRefusal(field, command.settings.*field.member)) {
      err << kLead << OptionName(field) << " " << *why << '\n';
      refused = true;
    }
  }
  std::error_code ec;
  if (!command.output.empty() && !command.force && std::filesystem::exists(command.output, ec)) {
    err << kLead << command.output << texts::kExistsAlready << '\n';
    refused = true;
  }
  return refused;
}

config::LogonCredentials CredentialsOf(bool prtg_credentials) {
  return prtg_credentials ? config::LogonCredentials::kFromMonitor
                          : config::LogonCredentials::kInProfile;
}

// Reads the new profile back as the single-system run will; the message of
// the defect it finds, nullopt when it gets the password back.
std::optional<std::string> ReadBackDefect(std::string_view text,
                                          std::optional<std::string_view> password) {
  const config::ProfileReading reading =
      config::ReadProfile(platform::SplitLines(text, config::kSingleSystemLineLimit),
                          CredentialsOf(!password.has_value()));
  if (!reading.defects.empty()) {
    return config::DefectMessage(reading.defects.front(), texts::kNewProfile);
  }
  if (password && reading.profile.Password != *password) {
    return std::string(texts::kPasswordDoesNotUnscramble);
  }
  return std::nullopt;
}

bool WriteFile(const std::string& path, std::string_view text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return !file.fail();
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// How the sensor logs on with the new profile: as its user with its
// password, or with PRTG's credentials.
std::string LogonOf(const NewCommand& command) {
  if (command.prtg_credentials) return std::string(texts::kLogsOnWithPrtgCredentials);
  return std::string(texts::kLogsOnAs)
      .append(platform::UpperCase(command.settings.User))  // as the sensor logs on
      .append(texts::kWithScrambledPassword);
}

// Reads `text` back as the sensor will, writes it where the command says
// and says so: after the file's name on standard output, or on standard
// error when the profile itself went to standard output.
int WriteProfile(const NewCommand& command, const std::string& text,
                 std::optional<std::string_view> password, ToolConsole& console) {
  if (std::optional<std::string> defect = ReadBackDefect(text, password)) {
    console.err << kLead << texts::kInternalError << *defect << '\n';
    return kToolRefused;
  }
  if (command.output.empty()) {
    console.out << text;
    console.err << kLead << texts::kWrittenToStandardOutput << LogonOf(command) << '\n';
  } else if (!WriteFile(command.output, text)) {
    console.err << kLead << texts::kCannotWrite << command.output << '\n';
    return kToolRefused;
  } else {
    console.out << command.output << texts::kWritten << LogonOf(command) << '\n';
  }
  return kToolSuccess;
}

// Each sensor of the listing with its findings, then the verdict.
int RunListingCheck(const std::string& path, bool global, config::LogonCredentials credentials,
                    ToolConsole& console) {
  const std::optional<ListingReport> report = CheckListing(path, global, credentials);
  if (!report) {
    console.err << kLead << texts::kCannotRead << path << '\n';
    return kToolRefused;
  }
  for (const std::string& line : report->lines) {
    console.out << line << '\n';
  }
  const std::string name = BaseName(path);
  if (report->findings == 0) {
    console.out << name << texts::kAccepted << '\n';
    return kToolSuccess;
  }
  console.out << name << texts::kFieldSeparator << report->findings
              << (report->findings == 1 ? texts::kFinding : texts::kFindings) << '\n';
  return kToolRefused;
}

}  // namespace

std::string OptionName(const config::ProfileField& field) {
  std::string name = "--";
  std::transform(field.name.begin(), field.name.end(), std::back_inserter(name), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return name;
}

int RunNew(const NewCommand& command, ToolConsole& console, std::mt19937& random) {
  if (RefuseValues(command, console.err)) {
    return kToolRefused;
  }
  if (command.prtg_credentials) {
    return WriteProfile(command, ProfileText(command.settings, std::nullopt), std::nullopt,
                        console);
  }
  const std::optional<std::string> password =
      command.password ? command.password : ReadPassword(console);
  if (!password) {
    return kToolRefused;
  }
  const std::optional<std::string> scrambled =
      ScrambleForProfile(*password, command.offset, random, console.err);
  if (!scrambled) {
    return kToolRefused;
  }
  return WriteProfile(command, ProfileText(command.settings, *scrambled), *password, console);
}

int RunScramble(std::optional<int> offset, ToolConsole& console, std::mt19937& random) {
  const std::optional<std::string> password = ReadPassword(console);
  if (!password) {
    return kToolRefused;
  }
  const std::optional<std::string> scrambled =
      ScrambleForProfile(*password, offset, random, console.err);
  if (!scrambled) {
    return kToolRefused;
  }
  console.out << *scrambled << '\n';
  return kToolSuccess;
}

int RunUnscramble(std::string_view value, bool verify, ToolConsole& console) {
  if (std::optional<ProfileDefect> defect = config::PasswordValueDefect(value, 0)) {
    console.out << DescribeDefect(*defect) << '\n';
    return kToolRefused;
  }
  const std::string password = *config::UnscramblePassword(value).password;
  if (!verify) {
    // The operator asked for it: the one place the tool shows a password.
    console.out << password << '\n';
    return kToolSuccess;
  }
  const std::optional<std::string> typed = ReadPassword(console);
  if (!typed) {
    return kToolRefused;
  }
  const bool same = *typed == password;
  console.out << (same ? texts::kHoldsThisPassword : texts::kHoldsAnotherPassword) << '\n';
  return same ? kToolSuccess : kToolRefused;
}

int RunCheck(const std::string& path, bool prtg_credentials, ToolConsole& console) {
  const CheckedFile kind = KindOfFile(BaseName(path));
  if (kind != CheckedFile::kProfile) {
    return RunListingCheck(path, kind == CheckedFile::kGlobalListing,
                           CredentialsOf(prtg_credentials), console);
  }
  std::error_code ec;
  std::ifstream file(path, std::ios::binary);
  if (!std::filesystem::is_regular_file(path, ec) || !file) {
    console.err << kLead << texts::kCannotRead << path << '\n';
    return kToolRefused;
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::string name = BaseName(path);
  ProfileReport report =
      CheckProfileText(text, name, config::kSingleSystemLineLimit, CredentialsOf(prtg_credentials));
  // Without user and password, and nothing else wrong: written for a sensor
  // that logs on with PRTG's credentials, which reads it clean.
  const bool for_prtg_credentials = !prtg_credentials && HoldsOnlyNoCredentials(report.defects);
  if (for_prtg_credentials) {
    report.defects.clear();
    report.sensor_message.reset();
  }
  for (const ProfileDefect& defect : report.defects) {
    console.out << DescribeDefect(defect) << '\n';
  }
  for (const std::string& note : report.notes) {
    console.out << texts::kNote << texts::kFieldSeparator << note << '\n';
  }
  if (report.sensor_message) {
    console.out << texts::kSensorStopsWith << *report.sensor_message << '\n';
    return kToolRefused;
  }
  console.out << name
              << (for_prtg_credentials ? texts::kAcceptedForPrtgCredentials : texts::kAccepted)
              << '\n';
  return kToolSuccess;
}

}  // namespace profile_tool
