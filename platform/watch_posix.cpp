#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/watch.h"

namespace platform {

struct Lock::State {
  std::mutex mutex;
};

Lock::Lock() : state_(std::make_unique<State>()) {}
Lock::~Lock() = default;
void Lock::lock() { state_->mutex.lock(); }
void Lock::unlock() { state_->mutex.unlock(); }

struct Watch::State {
  std::mutex mutex;
  std::condition_variable stopped_signal;
  bool stopped = false;
  std::thread thread;
};

Watch::Watch(std::chrono::seconds after, std::function<void()> expired)
    : state_(std::make_unique<State>()) {
  State* state = state_.get();
  state->thread = std::thread([state, after, expired = std::move(expired)] {
    std::unique_lock<std::mutex> guard(state->mutex);
    if (!state->stopped_signal.wait_for(guard, after, [state] { return state->stopped; })) {
      guard.unlock();
      expired();
    }
  });
}

Watch::~Watch() {
  {
    const std::lock_guard<std::mutex> guard(state_->mutex);
    state_->stopped = true;
  }
  state_->stopped_signal.notify_one();
  state_->thread.join();
}

}  // namespace platform
