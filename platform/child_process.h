// Processes the sensor starts and waits for: each runs one program with a
// working directory and an environment of its own, its standard output and
// error going to files of the parent's choosing. A child inherits no handle
// of the parent but those three streams, and none outlives its parent: the
// parent's end, however it comes (a deadline, being killed), ends its
// children too.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

struct ChildLaunch {
  std::string program;                 // the program file
  std::vector<std::string> arguments;  // after the program's name, each one argument in the child
  // Variables set in the child's environment besides (or over) the parent's.
  std::vector<std::pair<std::string, std::string>> environment;
  std::string directory;    // the child's working directory; empty: the parent's
  std::string output_path;  // created or emptied: the child's standard output
  std::string error_path;   // created or emptied: its standard error
};

// How a child ended.
struct ChildEnd {
  enum class Kind {
    kExited,   // by itself, with `code`
    kCrashed,  // by a signal or an unhandled exception; `code` is its number
    kStopped,  // by the parent (Stop)
  };
  Kind kind = Kind::kExited;
  int code = 0;
};

class ChildProcess {
 public:
  // Starts the child; a text naming the cause when it cannot be started.
  static std::variant<ChildProcess, std::string> Start(const ChildLaunch& launch);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Ends a child still running and waits for its end.
  ~ChildProcess();

  // Ends the child at once if it is still running; its end is kStopped.
  void Stop();
  // Its end once it has ended; nothing while it runs. Does not wait.
  std::optional<ChildEnd> End();

  struct State;  // the system's handles

 private:
  friend std::optional<std::size_t> WaitForAny(std::span<ChildProcess* const> children,
                                               std::chrono::steady_clock::time_point until);

  explicit ChildProcess(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// Waits until one of `children` that had not ended has ended, or until
// `until`; the index of one that has ended (End() then tells how), nothing
// at `until`. Children that ended before are not waited for again: the
// caller passes those still running.
std::optional<std::size_t> WaitForAny(std::span<ChildProcess* const> children,
                                      std::chrono::steady_clock::time_point until);

// The command line that hands `arguments` to a Windows program unchanged,
// as the C runtime splits a command line into arguments: each quoted where
// it holds a blank, a tab or a quote, or is empty, with the backslashes
// before a quote doubled.
std::string WindowsCommandLine(const std::string& program,
                               const std::vector<std::string>& arguments);

}  // namespace platform
