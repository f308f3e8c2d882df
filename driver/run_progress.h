// Where a run with a deadline ("TIMEOUT=") stands, for the deadline's
// thread to report when the run has not answered in time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/document_record.h"
#include "platform/watch.h"

namespace driver {

// Where the run stands, as the deadline reports it: written by the run's
// thread, read by the deadline's.
class RunProgress {
 public:
  struct Snapshot {
    std::string destination;  // the system the run waits for
    std::string step;         // "the logon", "GET_CPU_ALL", ...
    // A listing run.
    std::string item;
    std::uint32_t systems = 0;    // in the listing
    std::uint32_t processed = 0;  // measured in time
    std::string entry;            // the system in progress
    // The channels measured in time, for the formats that answer once.
    std::vector<output::RecordedChannel> channels;
  };

  void At(std::string destination, std::string step);
  void Listing(std::string item, std::uint32_t systems);
  void System(std::string entry);
  // A system measured in time, with the channels of the run so far.
  void Processed(std::vector<output::RecordedChannel> channels = {});
  Snapshot Get() const;

 private:
  mutable platform::Lock lock_;
  Snapshot now_;
};

}  // namespace driver
