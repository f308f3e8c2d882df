// What a run reports, kept whole for the formats that render one answer at
// the end instead of writing text as the run goes: the monitoring plugin's
// status line and PRTG's Script v2 JSON document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/channel_limits.h"
#include "output/monitor_state.h"

namespace output {

struct RecordedChannel {
  std::string name;
  std::string value;
  std::string unit;  // "MByte", "PerCent", "Days", "Pages", ...
  std::optional<ChannelLimits> limits;
  bool warning = false;  // PRTG's warning state, whatever the value
};

// A listing run's item and counts.
struct ListingCounts {
  std::string item;
  std::uint32_t systems = 0;
  std::uint32_t processed = 0;
  std::uint32_t failed = 0;
  std::string suffix;    // what follows the counts: the deadline, forecast troubles
  bool percent = false;  // the item is a per-cent value, whatever the channels' unit
};

struct DocumentRecord {
  std::string message;  // the run's text, as the other formats print it
  std::vector<RecordedChannel> channels;
  std::optional<std::string> error;  // the run ended with this error
  std::optional<ListingCounts> listing;
  // The channels whose ids never change, by name: the first has id 10, the
  // next 11, and so on (the single-system run's nine and the forecast's).
  std::vector<std::string> fixed_ids;
};

// The run's state: the error's; else the worst of its channels' and, in a
// listing, CRITICAL where a system failed; UNKNOWN where a single-system
// run has measured nothing.
MonitorState StateOfRecord(const DocumentRecord& record);

// The text a monitor shows for the run, on one line: the error; the
// listing's item and counts; or the run's text and, with a forecast, the
// days until full.
std::string SummaryOfRecord(const DocumentRecord& record);

}  // namespace output
