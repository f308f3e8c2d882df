#include "bench/timed_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace {

// The child's own peak resident size, read from /proc while it stands
// stopped at its exit: its rusage would also count the memory it shared
// with this program before it started the measured one.
long PeakKibAtExit(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

extern char** environ;

ProcessMeasurement RunTimed(const std::vector<std::string>& argv,
                            const std::filesystem::path& working_directory,
                            const std::vector<std::string>& extra_environment, Watch watch) {
  // The caller's environment, less the variables the benchmark sets itself.
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    std::string_view entry(*e);
    std::string_view name = entry.substr(0, entry.find('='));
    bool overridden = std::any_of(
        extra_environment.begin(), extra_environment.end(),
        [&](const std::string& extra) { return extra.substr(0, extra.find('=')) == name; });
    if (!overridden) environment.emplace_back(entry);
  }
  environment.insert(environment.end(), extra_environment.begin(), extra_environment.end());
  std::vector<char*> env_pointers = Pointers(environment);
  std::vector<std::string> args = argv;
  std::vector<char*> arg_pointers = Pointers(args);

  ProcessMeasurement m;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot fork");
  if (pid == 0) {
    int null_in = open("/dev/null", O_RDONLY);
    int null_out = open("/dev/null", O_WRONLY);
    dup2(null_in, 0);
    dup2(null_out, 1);
    dup2(null_out, 2);
    if (chdir(working_directory.c_str()) != 0) _exit(126);
    if (watch == Watch::kPeakMemory) ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    execvpe(arg_pointers[0], arg_pointers.data(), env_pointers.data());
    _exit(127);
  }
  int status = 0;
  bool options_set = false;
  for (;;) {
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) break;
    if (!options_set) {
      // Stopped at its exec: from now on stop it again when it exits.
      ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT);
      options_set = true;
    } else if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      m.peak_kib = PeakKibAtExit(pid);
    }
    int pass = WIFSTOPPED(status) && WSTOPSIG(status) != SIGTRAP ? WSTOPSIG(status) : 0;
    ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
  }
  m.wall = std::chrono::steady_clock::now() - start;
  m.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (m.exit_code == 127) throw std::runtime_error("cannot start " + argv[0]);
  return m;
}
