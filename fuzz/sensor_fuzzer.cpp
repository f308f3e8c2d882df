// The whole sensor, from the command line to the result document, against
// the scratch PRTG installation (support/sensor_layout.h) and a scripted RFC
// library (support/scripted_rfc_library.h).
//
// Input: four control characters (see FuzzInput::TakeControl), then the
// arguments, then the library's answer bytes.
//   1  output flavour: 0 unset, 1 EXEXML, 2 Wendrel, 3 Ostrune, 4 Halvaric,
//      5 Pellmar, 6 an unknown keyword, 7 "exexml" (mod 8)
//   2  the library operation that fails, 0 none (mod 32)
//   3  bits 0-1: the failure code, 1, 2, 3 or 7; bits 2-3: DEVSTAT rows,
//      1, 0, 2 or 3; bit 4: no exception name; bit 5: no trace file
//   4  the number of arguments (mod 4)
// Each argument ends at a line feed; whatever follows the last one is the
// answer.
//
// With BRACKWATER_FUZZ_SHOW set, each run's command line, exit code and
// output go to standard error: for seeing what a seed or a finding does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "driver/driver.h"
#include "driver/run_services.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "fuzz/support/scratch_layout.h"
#include "fuzz/support/scripted_rfc_library.h"
#include "fuzz/support/sensor_layout.h"
#include "include/output_sink.h"
#include "rfc/classic_backend.h"

namespace {

constexpr const char* kFlavours[] = {nullptr,    "EXEXML",  "Wendrel", "Ostrune",
                                     "Halvaric", "Pellmar", "Nagios",  "exexml"};
constexpr int kFailureCodes[] = {kRfcFailure, kRfcException, kRfcSysException, 7};
constexpr unsigned kFillingRows[] = {1, 0, 2, 3};

bool show_runs = false;

void ShowRun(const std::vector<std::string>& command_line, int exit_code, const StringSink& out,
             const StringSink& err) {
  std::string shown = "command line:";
  for (const std::string& word : command_line) shown += " [" + word + "]";
  shown += "\nexit code: " + std::to_string(exit_code) + "\nstandard output:\n" + out.text() +
           "\nstandard error:\n" + err.text() + "\n";
  std::cerr << shown;
}

void SelectFlavour(unsigned choice) {
  const char* flavour = kFlavours[choice % 8];
  if (flavour == nullptr) {
    ::unsetenv("BRACKWATER_FLAVOUR");
  } else {
    ::setenv("BRACKWATER_FLAVOUR", flavour, 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  show_runs = std::getenv("BRACKWATER_FUZZ_SHOW") != nullptr;
  fuzz::TheSensorLayout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  SelectFlavour(input.TakeControl());
  fuzz::LibraryScript script;
  script.failing_operation = input.TakeControl() % 32;
  const unsigned variant = input.TakeControl();
  script.failure_code = kFailureCodes[variant % 4];
  script.filling_rows = kFillingRows[variant / 4 % 4];
  script.null_exception = (variant & 16) != 0;
  script.writes_trace_file = (variant & 32) == 0;

  std::vector<std::string> command_line{"brackwater.exe"};
  const unsigned arguments = input.TakeControl() % 4;
  for (unsigned i = 0; i < arguments; ++i) {
    command_line.push_back(fuzz::AsArgument(input.TakeLine()));
    if (fuzz::LeavesScratchLayout(command_line.back())) return -1;
  }
  script.answer = input.rest();

  fuzz::InDirectory sensor_directory(fuzz::TheSensorLayout().sensor_directory);
  // Left by the failure of an earlier input.
  std::error_code ignored;
  std::filesystem::remove("Dev_Rfc.Trc", ignored);
  fuzz::ScriptedRfcLibrary library(script);
  rfc::classic::ClassicSapLibrary classic(library);
  StringSink out;
  StringSink err;
  // The error report the sensor prepares keeps a reference to these, for
  // the library's error handler, which the scripted library never calls.
  RunServices services{classic, out, err};
  const int exit_code = RunSensor(command_line, services);
  if (show_runs) ShowRun(command_line, exit_code, out, err);

  fuzz::Require(exit_code == 0 || exit_code == 1 || exit_code == 2, "the exit code is 0, 1 or 2");
  // An RFC error report (exit 1) ends the run where the failure happened and
  // leaves the tables to the end of the process; every other run deletes them.
  fuzz::Require(exit_code == 1 || library.LiveTables() == 0,
                "every internal table is deleted by the end of a run that is not aborted");
  return 0;
}
