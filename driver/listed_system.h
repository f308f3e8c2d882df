// What a listing run that measures its systems side by side ("PARALLEL=")
// hands each process it starts for one system, and what it reads back. The
// process is the sensor itself with the run's own command line; the
// environment tells it which system is its own and where its count goes.
// Its standard output and error carry the system's part of the run's, its
// exit code 1 or 2 that the system ended the run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// The system's place in the listing, counted from 0.
inline constexpr const char* kListedSystemVariable = "BRACKWATER_LISTED_SYSTEM";
// The file that takes the system's count (ListedCount).
inline constexpr const char* kListedResultVariable = "BRACKWATER_LISTED_RESULT";

// How one system counts in the listing's summary.
struct ListedCount {
  // kUnread: its profile not read. kEndsRun: the system ended the run as
  // one after another it would have, with `exit_code`; what it wrote is
  // whole. The process says so itself: how it ended is not to be trusted
  // for that (Wine has been seen to tell a process that returned 2 as
  // ended otherwise).
  enum class State { kProcessed, kFailed, kUnread, kEndsRun };
  State state = State::kFailed;
  std::vector<std::string> forecast_troubles;
  int exit_code = 0;
};

// The count as the result file holds it: the state's word on the first
// line, each forecast trouble on a line of its own.
std::string ListedCountText(const ListedCount& count);
// The count of a result file's text; nothing for a text of another form.
std::optional<ListedCount> ListedCountOf(std::string_view text);

// This process's system, when a listing run started it for one.
std::optional<std::size_t> ListedSystemOfEnvironment();
std::string ListedResultPathOfEnvironment();

}  // namespace driver
