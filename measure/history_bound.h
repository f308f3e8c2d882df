// Which samples a history keeps when a poll's update would make its text
// longer than the file's bound: the samples outside the forecast's span
// (older than it, or dated after the poll by a clock that was wrong) are
// thinned first, so that the newest days stay whole as long as they fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace measure {

// A sample line of a history as a poll read it.
struct SampleLine {
  std::uint8_t length = 0;  // with its line feed
  bool in_span = false;     // within the forecast's span, which ends at the poll
};

// For each of `samples` (in the order of the history), whether the updated
// history keeps it, this poll's line of `poll_length` following them. All
// are kept while the text stays within `bound`. Beyond it, the samples
// outside the span are thinned in rounds, each round keeping every second
// of them (the second, fourth, ...: the first goes in the first round),
// until the text fits; where it does not fit even without them, the span
// is thinned the same way, counted back from this poll, whose line always
// stays. So the text exceeds the bound only where the poll's line alone
// does.
std::vector<bool> KeptWithinBound(std::span<const SampleLine> samples, std::size_t poll_length,
                                  std::size_t bound);

}  // namespace measure
