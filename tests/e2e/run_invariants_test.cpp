#include "tests/e2e/run_invariants.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <variant>

#include "config/password_scramble.h"

namespace e2e {
namespace {

Scenario WithProfile(const std::string& password) {
  auto value = config::ScramblePassword(password, config::PrintableOffsets(password).at(0), 7);
  return Scenario{.files = {{"PRD.P00", "Password...: " + std::get<std::string>(value) + "\n"}}};
}

Outcome Clean() {
  Outcome outcome;
  outcome.exit_code = 2;
  outcome.working_directory = "C:\\work";
  return outcome;
}

TEST(RunInvariants, EachBreachIsReported) {
  const Scenario scenario = WithProfile("Tiger-77");
  CheckRunInvariants(scenario, Clean());  // nothing to report

  Outcome leaked = Clean();
  leaked.out = "<Text>logon as Tiger-77 failed</Text>";
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(scenario, leaked), "a password on standard output");

  Outcome foreign_file = Clean();
  foreign_file.changed_files = {"D:\\PRTG\\PRD.P00"};
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(scenario, foreign_file), "the run changed");

  Outcome odd_exit = Clean();
  odd_exit.exit_code = 3;
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(scenario, odd_exit), "exit code 3");

  Outcome own_files = Clean();
  own_files.changed_files = {"Dev_Rfc.Trc", "SapRfc.ini"};
  CheckRunInvariants(scenario, own_files);

  // The monitor's password: a piece of it shows as much as the whole.
  const Scenario monitor{.environment = {{"prtg_windowspassword", "Tiger 77=pass word"}}};
  Outcome piece = Clean();
  piece.err = "invalid connection text: unknown key 'pass'";
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(monitor, piece), "a piece of it, on standard error");
}

}  // namespace
}  // namespace e2e
