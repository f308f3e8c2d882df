#include "tests/e2e/native_target.h"

#include <csignal>
#include <cstdlib>
#include <utility>

namespace e2e {
namespace {

std::filesystem::path DrivesDirectory(const std::filesystem::path& scratch) {
  return scratch / "drives";
}

// Adds `option` to a sanitizer's option list from the caller's environment.
void AddSanitizerOption(std::vector<std::string>& environment, const char* variable,
                        const std::string& option) {
  const char* inherited = std::getenv(variable);
  std::string options = inherited && *inherited ? std::string(inherited) + ":" + option : option;
  SetVariable(environment, variable, options);
}

}  // namespace

NativeTarget::NativeTarget(std::filesystem::path executable)
    : executable_(std::move(executable)),
      library_name_(std::filesystem::exists(executable_.parent_path() / "libsapnwrfc.so")
                        ? "libsapnwrfc.so"
                        : "") {}

std::map<char, DriveRoot> NativeTarget::PrepareDrives(const std::filesystem::path& scratch) {
  std::map<char, DriveRoot> drives;
  for (char letter : {'C', 'D', 'E'}) {
    drives[letter].host_directory = DrivesDirectory(scratch) / std::string(1, letter);
  }
  return drives;
}

ChildProcessRequest NativeTarget::Command(const std::filesystem::path& executable,
                                          const std::vector<std::string>& arguments,
                                          const std::map<std::string, std::string>& environment,
                                          const std::filesystem::path& working_directory,
                                          const std::filesystem::path& scratch) const {
  ChildProcessRequest request;
  request.argv.push_back(executable.string());
  request.argv.insert(request.argv.end(), arguments.begin(), arguments.end());
  request.environment = CleanEnvironment();
  SetVariable(request.environment, "BRACKWATER_DRIVES", DrivesDirectory(scratch).string());
  // In the sanitizer build a finding ends the sensor with SIGABRT, which no
  // scenario can mistake for one of the sensor's own exit codes.
  AddSanitizerOption(request.environment, "ASAN_OPTIONS", "abort_on_error=1");
  AddSanitizerOption(request.environment, "UBSAN_OPTIONS", "abort_on_error=1:print_stacktrace=1");
  for (const auto& [name, value] : environment) SetVariable(request.environment, name, value);
  request.working_directory = working_directory;
  return request;
}

std::string NativeTarget::Normalise(std::string written) const { return written; }

bool NativeTarget::Crashed(const ChildProcessResult& result) const {
  return !result.timed_out && result.signal == SIGSEGV;
}

}  // namespace e2e
