#include "driver/deadline.h"

#include <utility>

namespace driver {

void RunProgress::At(std::string destination, std::string step) {
  const std::lock_guard<std::mutex> guard(lock_);
  now_.destination = std::move(destination);
  now_.step = std::move(step);
}

void RunProgress::Step(std::string step) {
  const std::lock_guard<std::mutex> guard(lock_);
  now_.step = std::move(step);
}

void RunProgress::ListingOpened(std::string item, std::uint32_t systems) {
  const std::lock_guard<std::mutex> guard(lock_);
  now_.listing_open = true;
  now_.item = std::move(item);
  now_.systems = systems;
}

void RunProgress::System(std::string entry) {
  const std::lock_guard<std::mutex> guard(lock_);
  now_.entry = std::move(entry);
}

void RunProgress::Processed() {
  const std::lock_guard<std::mutex> guard(lock_);
  ++now_.processed;
}

RunProgress::Snapshot RunProgress::Get() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return now_;
}

Deadline::Deadline(std::chrono::seconds seconds, std::function<void()> end)
    : thread_([this, seconds, end = std::move(end)] {
        std::unique_lock<std::mutex> guard(lock_);
        if (!stopped_signal_.wait_for(guard, seconds, [this] { return stopped_; })) {
          guard.unlock();
          end();
        }
      }) {}

Deadline::~Deadline() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    stopped_ = true;
  }
  stopped_signal_.notify_one();
  thread_.join();
}

}  // namespace driver
