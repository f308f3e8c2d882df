#include "bench/timed_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

ProcessMeasurement RunTimed(const std::vector<std::string>& argv,
                            const std::filesystem::path& working_directory,
                            const std::vector<std::string>& extra_environment) {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) environment.emplace_back(*e);
  environment.insert(environment.end(), extra_environment.begin(), extra_environment.end());
  std::vector<char*> env_pointers;
  for (std::string& e : environment) env_pointers.push_back(e.data());
  env_pointers.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> arg_pointers;
  for (std::string& a : args) arg_pointers.push_back(a.data());
  arg_pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, working_directory.c_str());

  ProcessMeasurement m;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, arg_pointers[0], &actions, nullptr, arg_pointers.data(),
                        env_pointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  m.wall = std::chrono::steady_clock::now() - start;
  m.peak_kib = usage.ru_maxrss;
  m.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m;
}
