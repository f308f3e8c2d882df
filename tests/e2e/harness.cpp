#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <iostream>
#include <set>
#include <stdexcept>

#include "tests/e2e/drive_layout.h"
#include "tests/e2e/run_invariants.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/windows_path.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_dir.h"

namespace e2e {
namespace {

// A sensor run takes milliseconds; this only ends one that hangs.
constexpr std::chrono::seconds kSensorTimeout{60};

// Files in the working directory are reported relative to it.
std::string AsReported(const std::string& path, const std::string& working_directory) {
  std::string lead = ResolveWindowsPath(working_directory, working_directory).ToString();
  if (lead.back() != '\\') lead.push_back('\\');
  if (path.size() > lead.size() &&
      SameWindowsPath(std::string_view(path).substr(0, lead.size()), lead)) {
    return path.substr(lead.size());
  }
  return path;
}

std::vector<std::string> ChangedFiles(const FileTree& before, const FileTree& after,
                                      const std::string& working_directory) {
  std::set<std::string> changed;
  for (const auto& [path, content] : before) {
    auto now = after.find(path);
    if (now == after.end() || now->second != content) {
      changed.insert(AsReported(path, working_directory));
    }
  }
  for (const auto& [path, content] : after) {
    if (!before.contains(path)) changed.insert(AsReported(path, working_directory));
  }
  return {changed.begin(), changed.end()};
}

}  // namespace

Outcome RunSensor(const Scenario& scenario) {
  SensorTarget& target = TargetUnderTest();
  Outcome outcome;
  outcome.scratch = std::make_shared<const ScratchDir>();
  outcome.working_directory = scenario.working_directory;
  std::filesystem::path scratch = outcome.scratch->path();

  // The layout lives only through the run: drives shared with later
  // scenarios are cleared when it ends.
  DriveLayout layout(target.PrepareDrives(scratch));
  const std::string& working_directory = scenario.working_directory;
  WindowsLocation working_location = ResolveWindowsPath(working_directory, working_directory);
  layout.CreateDirectory(working_location);
  for (const std::string& directory : scenario.directories) {
    layout.CreateDirectory(ResolveWindowsPath(directory, working_directory));
  }
  for (const auto& [path, content] : scenario.files) {
    layout.WriteFile(ResolveWindowsPath(path, working_directory), content);
  }
  std::filesystem::path executable = target.Executable();
  if (!scenario.executable.empty()) {
    const WindowsLocation location = ResolveWindowsPath(scenario.executable, working_directory);
    layout.WriteFile(location, ReadHostFile(executable));
    executable = layout.HostPath(location);
    std::filesystem::permissions(executable, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
  }
  for (const std::string& path : scenario.unreadable) {
    std::filesystem::permissions(layout.HostPath(ResolveWindowsPath(path, working_directory)),
                                 std::filesystem::perms::none);
  }
  FileTree before = layout.Snapshot();

  ChildProcessRequest request = target.Command(executable, scenario.arguments, scenario.environment,
                                               layout.HostPath(working_location), scratch);
  request.standard_input = scenario.standard_input;
  request.timeout = kSensorTimeout;
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::future<ChildProcessResult>> others;
  for (int poll = 1; poll < scenario.polls_at_once; ++poll) {
    others.push_back(std::async(std::launch::async, [&] {
      ChildProcessResult other = RunChildProcess(request);
      return target.NeverRan(other) ? RunChildProcess(request) : other;
    }));
  }
  ChildProcessResult result = RunChildProcess(request);
  for (std::future<ChildProcessResult>& other : others) {
    ChildProcessResult ended = other.get();
    EXPECT_FALSE(ended.timed_out || ended.signal != 0) << "an overlapping poll did not end well";
    outcome.overlapping.push_back({target.Normalise(std::move(ended.out)),
                                   target.Normalise(std::move(ended.err)), ended.exit_code});
  }
  if (others.empty() && target.NeverRan(result) && layout.Snapshot() == before) {
    // The same start once more, told in the test log.
    std::cerr << "the program did not start (exit code 1, no output); started again\n";
    result = RunChildProcess(request);
  }
  outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);

  outcome.files_after = layout.Snapshot();
  outcome.changed_files = ChangedFiles(before, outcome.files_after, working_directory);
  outcome.out = target.Normalise(std::move(result.out));
  outcome.err = target.Normalise(std::move(result.err));
  outcome.exit_code = result.exit_code;
  outcome.signalled = result.signal != 0;
  outcome.crashed = target.Crashed(result);

  if (result.timed_out) {
    ADD_FAILURE() << "the sensor did not end within " << kSensorTimeout.count()
                  << " s and was killed; standard output so far:\n"
                  << outcome.out << "\nstandard error:\n"
                  << outcome.err;
  } else if (outcome.signalled && !(scenario.library_crashes && outcome.crashed)) {
    ADD_FAILURE() << "the sensor died of signal " << result.signal << " ("
                  << strsignal(result.signal) << "); standard output:\n"
                  << outcome.out << "\nstandard error:\n"
                  << outcome.err;
  }
  CheckRunInvariants(scenario, outcome);
  return outcome;
}

}  // namespace e2e
