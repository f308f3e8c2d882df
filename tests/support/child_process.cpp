#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

extern char** environ;

namespace {

[[noreturn]] void ThrowError(int error, const std::string& what) {
  throw std::system_error(error, std::generic_category(), what);
}

// An owned file descriptor.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd& operator=(UniqueFd&&) = delete;

  int get() const { return fd_; }

 private:
  int fd_;
};

// An anonymous in-memory file, closed on exec. Its descriptor is never one of
// 0, 1 or 2, so that handing it to the child as one of those always clears
// the close-on-exec flag.
UniqueFd AnonymousFile(const char* name) {
  UniqueFd file(::memfd_create(name, MFD_CLOEXEC));
  if (file.get() < 0) ThrowError(errno, "memfd_create");
  if (file.get() > STDERR_FILENO) return file;
  UniqueFd moved(::fcntl(file.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
  if (moved.get() < 0) ThrowError(errno, "fcntl");
  return moved;
}

void WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowError(errno, "write");
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
}

std::string ReadAll(int fd) {
  if (::lseek(fd, 0, SEEK_SET) < 0) ThrowError(errno, "lseek");
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowError(errno, "read");
    }
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

class SpawnFileActions {
 public:
  SpawnFileActions() { Check(::posix_spawn_file_actions_init(&actions_)); }
  ~SpawnFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;

  void Dup2(int fd, int target) {
    Check(::posix_spawn_file_actions_adddup2(&actions_, fd, target));
  }
  void Open(int target, const char* path, int flags) {
    Check(::posix_spawn_file_actions_addopen(&actions_, target, path, flags, 0));
  }
  void Chdir(const std::filesystem::path& directory) {
    Check(::posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str()));
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  static void Check(int error) {
    if (error != 0) ThrowError(error, "posix_spawn_file_actions");
  }
  posix_spawn_file_actions_t actions_;
};

// The child gets a process group of its own (so that a timeout can end it
// with everything it started), an empty signal mask and SIGPIPE at its
// default, whatever the test runner set for itself.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    Check(::posix_spawnattr_init(&attributes_));
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    Check(::posix_spawnattr_setpgroup(&attributes_, 0));
    Check(::posix_spawnattr_setsigmask(&attributes_, &none));
    Check(::posix_spawnattr_setsigdefault(&attributes_, &defaults));
    Check(::posix_spawnattr_setflags(
        &attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;

  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  static void Check(int error) {
    if (error != 0) ThrowError(error, "posix_spawnattr");
  }
  posix_spawnattr_t attributes_;
};

// A NULL-terminated array of pointers into `texts`, as exec wants it.
std::vector<char*> PointerArray(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Whether the child has ended, without reaping it.
bool HasEnded(pid_t pid) {
  siginfo_t info{};
  while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) < 0) {
    if (errno != EINTR) ThrowError(errno, "waitid");
  }
  return info.si_pid == pid;
}

// Waits until the child has ended or `deadline` has passed, by looking
// every millisecond: for kernels (or sandboxes) without process handles.
bool PollForEnd(pid_t pid, std::chrono::steady_clock::time_point deadline) {
  while (!HasEnded(pid)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Waits until the child has ended or `timeout` has passed; true when it ended.
// The child is not reaped here.
bool AwaitEnd(pid_t pid, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  // A process handle becomes readable when the process ends. Opened through
  // syscall(): some C libraries declare the wrapper but do not link it for C++.
  UniqueFd handle(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
  if (handle.get() < 0) {
    if (errno == ENOSYS || errno == EPERM) return PollForEnd(pid, deadline);
    ThrowError(errno, "pidfd_open");
  }
  for (;;) {
    auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd ended{handle.get(), POLLIN, 0};
    int ready = ::poll(&ended, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) ThrowError(errno, "poll");
  }
}

int Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) ThrowError(errno, "waitpid");
  }
  return status;
}

}  // namespace

ChildProcessResult RunChildProcess(const ChildProcessRequest& request) {
  if (request.argv.empty()) throw std::invalid_argument("RunChildProcess: no program given");

  UniqueFd out = AnonymousFile("stdout");
  UniqueFd err = AnonymousFile("stderr");
  std::optional<UniqueFd> in;
  if (request.standard_input) {
    in.emplace(AnonymousFile("stdin"));
    WriteAll(in->get(), *request.standard_input);
    if (::lseek(in->get(), 0, SEEK_SET) < 0) ThrowError(errno, "lseek");
  }

  SpawnFileActions actions;
  if (in) {
    actions.Dup2(in->get(), STDIN_FILENO);
  } else {
    actions.Open(STDIN_FILENO, "/dev/null", O_RDONLY);
  }
  actions.Dup2(out.get(), STDOUT_FILENO);
  actions.Dup2(err.get(), STDERR_FILENO);
  if (!request.working_directory.empty()) actions.Chdir(request.working_directory);
  SpawnAttributes attributes;

  std::vector<std::string> argv = request.argv;
  std::vector<std::string> environment = request.environment;
  std::vector<char*> argv_pointers = PointerArray(argv);
  std::vector<char*> environment_pointers = PointerArray(environment);
  pid_t pid = 0;
  int error = ::posix_spawnp(&pid, argv_pointers[0], actions.get(), attributes.get(),
                             argv_pointers.data(), environment_pointers.data());
  if (error != 0) ThrowError(error, "cannot start " + request.argv[0]);

  ChildProcessResult result;
  bool ended = false;
  try {
    ended = AwaitEnd(pid, request.timeout);
  } catch (...) {
    ::kill(-pid, SIGKILL);
    Reap(pid);
    throw;
  }
  if (!ended) {
    result.timed_out = true;
    ::kill(-pid, SIGKILL);
  }
  int status = Reap(pid);
  if (WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.signal = WTERMSIG(status);
  }
  result.out = ReadAll(out.get());
  result.err = ReadAll(err.get());
  return result;
}

std::vector<std::string> InheritedEnvironment(const std::vector<std::string>& dropped_prefixes) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view variable(*entry);
    bool dropped =
        std::any_of(dropped_prefixes.begin(), dropped_prefixes.end(),
                    [&](const std::string& prefix) { return variable.starts_with(prefix); });
    if (!dropped) environment.emplace_back(variable);
  }
  return environment;
}

void SetVariable(std::vector<std::string>& environment, const std::string& name,
                 const std::string& value) {
  std::string lead = name + "=";
  std::erase_if(environment, [&](const std::string& entry) { return entry.starts_with(lead); });
  environment.push_back(lead + value);
}
