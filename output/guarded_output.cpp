#include "output/guarded_output.h"

#include <mutex>

namespace output {

void GuardedOutput::Write(std::string_view bytes) {
  const std::lock_guard<platform::Lock> guard(lock_);
  if (ended_) return;
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

void GuardedOutput::OpenDocument(std::string_view head) {
  const std::lock_guard<platform::Lock> guard(lock_);
  if (ended_) return;
  out_.Write(head);
  document_open_ = true;
}

void GuardedOutput::End(std::string_view last, int exit_code) {
  const std::lock_guard<platform::Lock> guard(lock_);
  if (ended_) return;
  out_.Write(held_);
  held_.clear();
  holding_ = false;
  out_.Write(last);
  out_.Flush();
  ended_ = exit_code;
}

void GuardedOutput::Close(const LastWords& last, const std::function<void(int)>& end_process) {
  const std::lock_guard<platform::Lock> guard(lock_);
  if (!ended_) {
    held_.clear();
    holding_ = false;
    const auto [text, exit_code] = last(document_open_);
    out_.Write(text);
    ended_ = exit_code;
  }
  out_.Flush();
  end_process(*ended_);
}

}  // namespace output
