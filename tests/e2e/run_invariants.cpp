#include "tests/e2e/run_invariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "config/password_scramble.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/windows_path.h"

namespace e2e {
namespace {

constexpr std::string_view kPasswordLabel = "Password...: ";
// Shorter passwords could show by coincidence in any text.
constexpr std::size_t kShortestCheckedPassword = 4;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The plain passwords of every profile the scenario lays out.
std::set<std::string> ProfilePasswords(const Scenario& scenario) {
  std::set<std::string> passwords;
  for (const auto& [path, content] : scenario.files) {
    for (std::size_t at = content.find(kPasswordLabel); at != std::string::npos;
         at = content.find(kPasswordLabel, at + 1)) {
      std::string_view value = std::string_view(content).substr(at + kPasswordLabel.size(), 24);
      config::UnscrambledPassword plain = config::UnscramblePassword(value);
      if (plain.password && plain.password->size() >= kShortestCheckedPassword) {
        passwords.insert(*plain.password);
      }
    }
  }
  return passwords;
}

// The monitor's passwords the scenario hands over ("CRED="), and each piece
// of them between blanks, tabs and equals signs: a password split in a
// connection text would show such a piece in a failure message.
std::set<std::string> MonitorPasswordPieces(const Scenario& scenario) {
  std::set<std::string> pieces;
  for (const char* variable : {"prtg_windowspassword", "prtg_linuxpassword"}) {
    const auto it = scenario.environment.find(variable);
    if (it == scenario.environment.end()) continue;
    const std::string& password = it->second;
    if (password.size() >= kShortestCheckedPassword) pieces.insert(password);
    for (std::size_t from = 0; from < password.size();) {
      const std::size_t end = std::min(password.find_first_of(" \t=", from), password.size());
      if (end - from >= kShortestCheckedPassword) pieces.insert(password.substr(from, end - from));
      from = end + 1;
    }
  }
  return pieces;
}

// A run that forecasts: "FORECAST" among its options, or a listing of the
// item "Days Until Full".
bool Forecasts(const Scenario& scenario) {
  for (const std::string& argument : scenario.arguments) {
    if (Lower(argument).find("forecast") != std::string::npos) return true;
  }
  return std::any_of(scenario.files.begin(), scenario.files.end(), [](const auto& file) {
    return Lower(file.second).find("item=days:until:full") != std::string::npos;
  });
}

// Files the sensor and its library own: in the working directory the
// library's logon file and trace and the record a test asked for; the
// filling's histories of a run that forecasts, beside their profiles
// wherever those lie (the Linux program finds profiles beside itself).
bool MayChange(const std::string& reported, const Scenario& scenario) {
  std::string name = Lower(reported);
  if (name.ends_with(".hst") && Forecasts(scenario)) return true;
  if (reported.find('\\') != std::string::npos) return false;
  if (name == "saprfc.ini" || name == "dev_rfc.trc") return true;
  auto record = scenario.environment.find("RFCSIM_RECORD");
  return record != scenario.environment.end() && name == Lower(record->second);
}

}  // namespace

void CheckRunInvariants(const Scenario& scenario, const Outcome& outcome) {
  const auto flavour = scenario.environment.find("BRACKWATER_FLAVOUR");
  const std::string format = flavour == scenario.environment.end() ? "" : flavour->second;
  if (!outcome.signalled && !(scenario.library_crashes && outcome.crashed)) {
    // A monitoring plugin's answer, whatever the run met, is the monitor's
    // one line and a state's exit code; Script v2's the one document.
    if (format == "Nagios") {
      EXPECT_TRUE(IsNagiosAnswer(outcome.out, outcome.exit_code));
    } else if (format == "ScriptV2") {
      EXPECT_TRUE(IsScriptV2Answer(outcome.out, outcome.exit_code));
    } else {
      EXPECT_TRUE(outcome.exit_code >= 0 && outcome.exit_code <= 2)
          << "exit code " << outcome.exit_code << "; standard error:\n"
          << outcome.err;
    }
  }
  for (const std::string& changed : outcome.changed_files) {
    EXPECT_TRUE(MayChange(changed, scenario)) << "the run changed " << changed;
  }
  if (std::find(outcome.changed_files.begin(), outcome.changed_files.end(), "SapRfc.ini") !=
          outcome.changed_files.end() &&
      scenario.files.contains("SapRfc.ini")) {
    EXPECT_TRUE(outcome.Exists("SapRfc.ini")) << "the run removed SapRfc.ini";
  }
  if (scenario.files.contains("Dev_Rfc.Trc") && !outcome.Exists("Dev_Rfc.Trc")) {
    // The formats that judge the run answer a measurement with channels,
    // whatever its state.
    if (format == "Nagios") {
      EXPECT_NE(outcome.out.find(" | "), std::string::npos)
          << "the trace file was deleted after a failed run";
    } else if (format == "ScriptV2") {
      EXPECT_NE(outcome.out.find("\"channels\""), std::string::npos)
          << "the trace file was deleted after a failed run";
    } else {
      EXPECT_EQ(outcome.exit_code, 0) << "the trace file was deleted after a failed run";
    }
  }
  const auto record = scenario.environment.find("RFCSIM_RECORD");
  for (const std::string& piece : MonitorPasswordPieces(scenario)) {
    EXPECT_EQ(outcome.out.find(piece), std::string::npos)
        << "the monitor's password, or a piece of it, on standard output";
    EXPECT_EQ(outcome.err.find(piece), std::string::npos)
        << "the monitor's password, or a piece of it, on standard error";
    // Every file the run wrote, the library's trace among them; rfcsim's
    // record, a test facility, stands apart.
    for (const std::string& changed : outcome.changed_files) {
      if (record != scenario.environment.end() && Lower(changed) == Lower(record->second)) {
        continue;
      }
      EXPECT_EQ(outcome.ReadFile(changed).value_or("").find(piece), std::string::npos)
          << "the monitor's password, or a piece of it, in " << changed;
    }
  }
  const std::optional<std::string> ini = outcome.ReadFile("SapRfc.ini");
  for (const std::string& password : ProfilePasswords(scenario)) {
    EXPECT_EQ(outcome.out.find(password), std::string::npos) << "a password on standard output";
    EXPECT_EQ(outcome.err.find(password), std::string::npos) << "a password on standard error";
    if (ini && !scenario.files.contains("SapRfc.ini")) {
      EXPECT_EQ(ini->find(password), std::string::npos) << "a password in SapRfc.ini";
    }
  }
}

}  // namespace e2e
