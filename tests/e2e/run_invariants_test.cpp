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

  // The formats that judge the run: the answer's grammar and schema, and a
  // state its exit code agrees with.
  const Scenario nagios{.environment = {{"BRACKWATER_FLAVOUR", "Nagios"}}};
  Outcome line = Clean();
  line.out = "MAXDB CRITICAL - (PRD) x | 'Used Area [Prc]'=95%;80;90;0;100 'Days'=6;30:;7:;0\n";
  CheckRunInvariants(nagios, line);
  for (const char* bad :
       {"MAXDB CRITICAL - x | 'a'=95 %\n", "MAXDB CRITICAL - x | a'b=1\n",
        "MAXDB CRITICAL - x | 'a'=1;;;;;\n", "MAXDB CRITICAL - x\nmore\n", "MAXDB BAD - x\n"}) {
    Outcome malformed = Clean();
    malformed.out = bad;
    SCOPED_TRACE(bad);
    EXPECT_NONFATAL_FAILURE(CheckRunInvariants(nagios, malformed), "not one status line");
  }
  line.exit_code = 1;
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(nagios, line), "state CRITICAL with exit code 1");

  const Scenario script_v2{.environment = {{"BRACKWATER_FLAVOUR", "ScriptV2"}}};
  Outcome document = Clean();
  document.exit_code = 0;
  document.out = R"({"version":2,"status":"ok","message":"x","channels":[)"
                 R"({"id":10,"name":"a","type":"integer","kind":"percent","value":1}]})"
                 "\n";
  CheckRunInvariants(script_v2, document);
  Outcome low_id = document;
  low_id.out.replace(low_id.out.find("\"id\":10"), 7, "\"id\":9");
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(script_v2, low_id), "python3-jsonschema");
  Outcome twice = document;
  twice.out.replace(twice.out.find("]}"), 2,
                    R"(,{"id":10,"name":"b","type":"integer","kind":"percent","value":2}]})");
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(script_v2, twice), "channel id 10 twice");
  document.exit_code = 2;
  EXPECT_NONFATAL_FAILURE(CheckRunInvariants(script_v2, document), "exit code 2");
}

}  // namespace
}  // namespace e2e
