// Runs a program to its end and hands back what it wrote, for tests that
// drive whole programs (the sensor, xmllint, Wine's tools).
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ChildProcessRequest {
  // argv[0] is looked up in PATH when it holds no "/".
  std::vector<std::string> argv;
  // The child's whole environment, as "NAME=value" entries.
  std::vector<std::string> environment;
  // Empty: the caller's working directory.
  std::filesystem::path working_directory;
  // Nothing: standard input reads from /dev/null.
  std::optional<std::string> standard_input;
  // After this the child's process group is killed.
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
};

struct ChildProcessResult {
  std::string out;
  std::string err;
  // The exit status when the child exited; -1 when a signal ended it.
  int exit_code = -1;
  // The signal that ended the child, 0 when it exited.
  int signal = 0;
  // The child outlived its timeout and was killed (signal is then SIGKILL).
  bool timed_out = false;
};

// Starts the child in a process group of its own, with standard output and
// standard error captured apart, and waits for it. Output is captured in
// anonymous files rather than pipes, so that a grandchild which keeps the
// descriptors open (a daemon such as wineserver) cannot hold the caller up.
// Throws std::system_error when the child cannot be started.
ChildProcessResult RunChildProcess(const ChildProcessRequest& request);

// The caller's environment as "NAME=value" entries, without the variables
// whose names begin with one of `dropped_prefixes`.
std::vector<std::string> InheritedEnvironment(const std::vector<std::string>& dropped_prefixes);

// Sets NAME=value in `environment`, replacing an earlier entry for NAME.
void SetVariable(std::vector<std::string>& environment, const std::string& name,
                 const std::string& value);
