#include "bench/timed_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// Reads the program's output until the program has ended; returns its
// wait status. The end is told by a process descriptor, not by the end of
// the output: a helper the program started (Wine's server) may hold the
// pipe open.
int WaitDraining(pid_t pid, int output) {
  const int process = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (process < 0) throw std::runtime_error("cannot watch the program");
  pollfd watched[2] = {{process, POLLIN, 0}, {output, POLLIN, 0}};
  char discarded[65536];
  while (!(watched[0].revents & POLLIN)) {
    if (poll(watched, 2, -1) < 0 && errno != EINTR) break;
    if (watched[1].revents & (POLLIN | POLLHUP) && read(output, discarded, sizeof discarded) <= 0) {
      watched[1].fd = -1;  // nothing more to read
    }
  }
  close(process);
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

// Lets a traced program run to its end, reading its peak memory when it
// stops at its exit; returns its wait status.
int WaitTraced(pid_t pid, long& peak_kib) {
  int status = 0;
  bool options_set = false;
  for (;;) {
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) return status;
    if (!options_set) {
      // Stopped at its exec: from now on stop it again when it exits.
      ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT);
      options_set = true;
    } else if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      peak_kib = PeakKibAtExit(pid);
    }
    int pass = WIFSTOPPED(status) && WSTOPSIG(status) != SIGTRAP ? WSTOPSIG(status) : 0;
    ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
  }
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

  // Timed runs write into a pipe that is read as they go, as a monitor
  // reads the sensor. (Windows' C runtime takes the null device for a
  // console and writes to it one character at a time, and Wine makes a
  // regular file as standard output slow: neither is what a monitor sees.)
  // Traced runs, whose time does not count, write into a file.
  int pipe_ends[2] = {-1, -1};
  if (watch == Watch::kTime && pipe2(pipe_ends, O_CLOEXEC) != 0) {
    throw std::runtime_error("cannot create a pipe");
  }
  ProcessMeasurement m;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot fork");
  if (pid == 0) {
    if (chdir(working_directory.c_str()) != 0) _exit(126);
    int null_in = open("/dev/null", O_RDONLY);
    int out = watch == Watch::kTime ? pipe_ends[1]
                                    : open("output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (null_in < 0 || out < 0) _exit(126);
    dup2(null_in, 0);
    dup2(out, 1);
    dup2(out, 2);
    if (watch == Watch::kPeakMemory) ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    execvpe(arg_pointers[0], arg_pointers.data(), env_pointers.data());
    _exit(127);
  }
  int status = 0;
  if (watch == Watch::kTime) {
    close(pipe_ends[1]);
    status = WaitDraining(pid, pipe_ends[0]);
    close(pipe_ends[0]);
  } else {
    status = WaitTraced(pid, m.peak_kib);
  }
  m.wall = std::chrono::steady_clock::now() - start;
  m.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (m.exit_code == 127) throw std::runtime_error("cannot start " + argv[0]);
  return m;
}
