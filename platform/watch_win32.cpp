#include <windows.h>

#include <utility>

#include "platform/watch.h"

namespace platform {

struct Lock::State {
  SRWLOCK lock = SRWLOCK_INIT;
};

Lock::Lock() : state_(std::make_unique<State>()) {}
Lock::~Lock() = default;
void Lock::lock() { AcquireSRWLockExclusive(&state_->lock); }
void Lock::unlock() { ReleaseSRWLockExclusive(&state_->lock); }

struct Watch::State {
  DWORD milliseconds = 0;
  std::function<void()> expired;
  HANDLE stopped = nullptr;  // an event, set when the watch goes
  HANDLE thread = nullptr;
};

namespace {

DWORD WINAPI WatchThread(LPVOID parameter) {
  auto* state = static_cast<Watch::State*>(parameter);
  if (WaitForSingleObject(state->stopped, state->milliseconds) == WAIT_TIMEOUT) {
    state->expired();
  }
  return 0;
}

}  // namespace

Watch::Watch(std::chrono::seconds after, std::function<void()> expired)
    : state_(std::make_unique<State>()) {
  state_->milliseconds = static_cast<DWORD>(after.count() * 1000);
  state_->expired = std::move(expired);
  state_->stopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (state_->stopped != nullptr) {
    state_->thread = CreateThread(nullptr, 0, &WatchThread, state_.get(), 0, nullptr);
  }
}

Watch::~Watch() {
  if (state_->stopped != nullptr) SetEvent(state_->stopped);
  if (state_->thread != nullptr) {
    WaitForSingleObject(state_->thread, INFINITE);
    CloseHandle(state_->thread);
  }
  if (state_->stopped != nullptr) CloseHandle(state_->stopped);
}

}  // namespace platform
