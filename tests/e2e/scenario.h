// One run of the sensor as a test describes it, and what came of it.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/drive_layout.h"

class ScratchDir;

namespace e2e {

// Every member has a default, so that scenarios name only what they need
// (designated initializers).
struct Scenario {
  std::vector<std::string> arguments = {};
  // Files laid out before the run: Windows path -> exact bytes. A path
  // without a drive lies on the working directory's drive ("\...") or in
  // the working directory (relative). The drives are C:, D: and E:.
  std::map<std::string, std::string> files = {};
  // Directories laid out (empty) before the run, as Windows paths.
  std::vector<std::string> directories = {};
  // Laid-out files then made unreadable (no permission bits). Root reads
  // them all the same.
  std::vector<std::string> unreadable = {};
  // Set for the sensor, on top of the inherited environment less any
  // BRACKWATER_ and WINE variables.
  std::map<std::string, std::string> environment = {};
  // Created before the run.
  std::string working_directory = "C:\\work";
  // Nothing: the sensor reads /dev/null.
  std::optional<std::string> standard_input = {};
  // A Windows path: the sensor runs as a copy of its program laid there,
  // with only the files the scenario lays beside it, instead of where it
  // was built. Only the programs that load the RFC library (the Windows
  // programs and the Linux program) look beside themselves.
  std::string executable = {};
  // How many polls of the scenario start at once, overlapping as a single
  // sensor and a listing of the same system do. The outcome is the first
  // one's; Outcome::overlapping holds the others'.
  int polls_at_once = 1;
  // The landscape makes the RFC library crash: a sensor that ends as a
  // crashed process (Outcome::crashed) is what the scenario checks, not a
  // failure of the run.
  bool library_crashes = false;
};

// What a poll that overlapped the scenario's own printed.
struct OverlappingPoll {
  std::string out;
  std::string err;
  int exit_code = -1;
};

struct Outcome {
  // Standard output and error, with line ends as the native build writes
  // them (LF).
  std::string out;
  std::string err;
  // The exit status; -1 when a signal ended the sensor.
  int exit_code = -1;
  // A signal ended the sensor (a test failure, reported as such, unless the
  // scenario's library crashes and the sensor ended so).
  bool signalled = false;
  // The sensor ended as a process with an unhandled access violation does:
  // natively by SIGSEGV, under Wine with exit code 5 (of 0xC0000005).
  bool crashed = false;
  // From the start of the sensor's process to its end (its streams closed).
  std::chrono::milliseconds elapsed{0};
  // Files added, removed or changed in content on the scenario's drives by
  // the run, sorted; those in the working directory relative to it
  // ("SapRfc.ini"), the others as absolute Windows paths ("D:\x\y").
  std::vector<std::string> changed_files;

  // A file on the scenario's drives after the run, found ignoring case;
  // relative paths are in the working directory. Nothing when it is absent.
  std::optional<std::string> ReadFile(std::string_view windows_path) const;
  bool Exists(std::string_view windows_path) const;

  // The scenario's working directory, for the look-ups above.
  std::string working_directory;
  // Every file on the scenario's drives after the run.
  FileTree files_after;
  // The scenario's scratch directory, which lives as long as the outcome
  // and stays on disk when the test fails.
  std::shared_ptr<const ScratchDir> scratch;
  // The other polls of a scenario whose polls overlap, in the order started.
  std::vector<OverlappingPoll> overlapping;
};

}  // namespace e2e
