// A lock and a one-shot watch, for the run's deadline. On Windows they are
// the system's own (a slim reader/writer lock, a thread waiting on an
// event): the C++ library's threads would bring the POSIX thread emulation
// into every poll of the program, costing memory whether a deadline is set
// or not.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace platform {

class Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void lock();
  void unlock();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Calls `expired` on a thread of its own once `after` has passed, unless
// the watch is destroyed first; destroying it waits for that thread.
class Watch {
 public:
  Watch(std::chrono::seconds after, std::function<void()> expired);
  ~Watch();
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

  struct State;  // the system's thread reaches it

 private:
  std::unique_ptr<State> state_;
};

}  // namespace platform
