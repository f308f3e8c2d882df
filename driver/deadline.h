// The run's deadline ("TIMEOUT="): a thread that ends the process with
// what the run knows when the run has not answered in time. Without the
// keyword no deadline and no thread exist.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/watch.h"

namespace driver {

// Where the run stands, as the deadline reports it: written by the run's
// thread, read by the deadline's.
class RunProgress {
 public:
  struct Snapshot {
    std::string destination;  // the system the run waits for
    std::string step;         // "the logon", "GET_CPU_ALL", ...
    // A listing run, once its document is open.
    bool listing_open = false;
    std::string item;
    std::uint32_t systems = 0;    // in the listing
    std::uint32_t processed = 0;  // measured in time
    std::string entry;            // the system in progress
  };

  void At(std::string destination, std::string step);
  void Step(std::string step);
  void ListingOpened(std::string item, std::uint32_t systems);
  void System(std::string entry);
  void Processed();
  Snapshot Get() const;

 private:
  mutable platform::Lock lock_;
  Snapshot now_;
};

class Deadline {
 public:
  // After `seconds`, calls `end` on the deadline's thread; `end` must end
  // the process.
  Deadline(std::chrono::seconds seconds, std::function<void()> end);
  // The run answered in time: destroying the deadline stops its thread.
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

 private:
  platform::Watch watch_;
};

}  // namespace driver
