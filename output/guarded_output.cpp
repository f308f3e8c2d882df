#include "output/guarded_output.h"

#include <mutex>

namespace output {

void GuardedOutput::Write(std::string_view bytes) {
  const std::lock_guard<platform::Lock> guard(lock_);
  if (holding_) {
    held_.append(bytes);
  } else {
    out_.Write(bytes);
  }
}

void GuardedOutput::Flush() {
  const std::lock_guard<platform::Lock> guard(lock_);
  out_.Flush();
}

void GuardedOutput::HoldDocument() {
  const std::lock_guard<platform::Lock> guard(lock_);
  holding_ = true;
}

void GuardedOutput::ReleaseDocument() {
  const std::lock_guard<platform::Lock> guard(lock_);
  out_.Write(held_);
  held_.clear();
  holding_ = false;
}

void GuardedOutput::Finish(int exit_code) {
  const std::lock_guard<platform::Lock> guard(lock_);
  out_.Flush();
  finished_ = exit_code;
}

int GuardedOutput::Close(const std::function<std::pair<std::string, int>()>& last) {
  // Never unlocked: the process ends while this thread holds it.
  lock_.lock();
  if (finished_) {
    out_.Flush();
    return *finished_;
  }
  held_.clear();
  const auto [text, exit_code] = last();
  out_.Write(text);
  out_.Flush();
  return exit_code;
}

}  // namespace output
