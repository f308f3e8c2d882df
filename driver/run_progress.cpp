#include "driver/run_progress.h"

#include <mutex>
#include <utility>

namespace driver {

void RunProgress::At(std::string destination, std::string step) {
  const std::lock_guard<platform::Lock> guard(lock_);
  now_.destination = std::move(destination);
  now_.step = std::move(step);
}

void RunProgress::Listing(std::string item, std::uint32_t systems) {
  const std::lock_guard<platform::Lock> guard(lock_);
  now_.item = std::move(item);
  now_.systems = systems;
}

void RunProgress::System(std::string entry) {
  const std::lock_guard<platform::Lock> guard(lock_);
  now_.entry = std::move(entry);
}

void RunProgress::Processed(std::vector<output::RecordedChannel> channels) {
  const std::lock_guard<platform::Lock> guard(lock_);
  ++now_.processed;
  now_.channels = std::move(channels);
}

RunProgress::Snapshot RunProgress::Get() const {
  const std::lock_guard<platform::Lock> guard(lock_);
  return now_;
}

}  // namespace driver
