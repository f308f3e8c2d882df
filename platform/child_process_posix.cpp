#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/child_process.h"

namespace platform {

struct ChildProcess::State {
  pid_t pid = -1;
  bool stopped = false;
  std::optional<ChildEnd> end;

  ~State() {
    if (pid > 0 && !end) {
      kill(pid, SIGKILL);
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
  }

  // Reaps the child if it has ended; `wait` waits for it.
  void Reap(bool wait) {
    if (end || pid <= 0) return;
    int status = 0;
    pid_t reaped = 0;
    do {
      reaped = waitpid(pid, &status, wait ? 0 : WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped != pid) return;
    if (WIFSIGNALED(status)) {
      const int signal_number = WTERMSIG(status);
      end = ChildEnd{
          stopped && signal_number == SIGKILL ? ChildEnd::Kind::kStopped : ChildEnd::Kind::kCrashed,
          signal_number};
    } else {
      end = ChildEnd{ChildEnd::Kind::kExited, WEXITSTATUS(status)};
    }
  }
};

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string Cause(const std::string& what) { return what + ": " + std::strerror(errno); }

// The parent's variables, those that `launch` sets replaced.
std::vector<std::string> ChildEnvironment(const ChildLaunch& launch) {
  std::vector<std::string> variables;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    const std::string_view name = variable.substr(0, variable.find('='));
    bool replaced = false;
    for (const auto& [set_name, value] : launch.environment) replaced |= set_name == name;
    if (!replaced) variables.emplace_back(variable);
  }
  for (const auto& [name, value] : launch.environment) {
    variables.push_back(name);
    variables.back().append("=").append(value);
  }
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child between fork and exec: only calls that are safe there.
[[noreturn]] void BecomeChild(pid_t parent, int output, int error, const char* directory,
                              const char* program, char* const* argv, char* const* envp) {
  // The parent's end, whatever it is, ends the child too.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  const int input = open("/dev/null", O_RDONLY);
  if (input < 0 || dup2(input, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0 ||
      dup2(error, STDERR_FILENO) < 0) {
    _exit(127);
  }
  if (directory[0] != '\0' && chdir(directory) != 0) _exit(127);
  // Nothing of the parent's but the three streams.
  if (syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
    for (int fd = 3; fd < 1024; ++fd) close(fd);
  }
  // The signals the parent blocks or ignores stay its own.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execve(program, argv, envp);
  _exit(127);
}

}  // namespace

std::variant<ChildProcess, std::string> ChildProcess::Start(const ChildLaunch& launch) {
  const Descriptor output(
      open(launch.output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (output.get() < 0) return Cause(launch.output_path);
  const Descriptor error(
      open(launch.error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (error.get() < 0) return Cause(launch.error_path);
  if (access(launch.program.c_str(), X_OK) != 0) return Cause(launch.program);

  std::vector<std::string> arguments{launch.program};
  arguments.insert(arguments.end(), launch.arguments.begin(), launch.arguments.end());
  std::vector<char*> argv = Pointers(arguments);
  std::vector<std::string> variables = ChildEnvironment(launch);
  std::vector<char*> envp = Pointers(variables);

  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) return Cause("fork");
  if (pid == 0) {
    BecomeChild(parent, output.get(), error.get(), launch.directory.c_str(), launch.program.c_str(),
                argv.data(), envp.data());
  }
  auto state = std::make_unique<State>();
  state->pid = pid;
  return ChildProcess(std::move(state));
}

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;
ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept = default;
ChildProcess::~ChildProcess() = default;

void ChildProcess::Stop() {
  state_->Reap(false);
  if (state_->end) return;
  state_->stopped = true;
  kill(state_->pid, SIGKILL);
  state_->Reap(true);
}

std::optional<ChildEnd> ChildProcess::End() {
  state_->Reap(false);
  return state_->end;
}

std::optional<std::size_t> WaitForAny(std::span<ChildProcess* const> children,
                                      std::chrono::steady_clock::time_point until) {
  // The children are looked at every few milliseconds: a wait on their
  // ends (pidfd_open) is not known to every kernel nor to Valgrind, and a
  // listing's waits are seconds long.
  constexpr auto kLookEvery = std::chrono::milliseconds(5);
  for (;;) {
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i]->End()) return i;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= until) return std::nullopt;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(until - now, kLookEvery));
  }
}

}  // namespace platform
