// A listing run's systems measured side by side ("PARALLEL=N"), each in a
// process of its own (listed_system.h): no process ever holds two
// connections, and a system whose library hangs or crashes costs that
// system alone. What the processes write is handed on in listing order,
// so that the output is the one of the run that measures one system after
// another.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/run_services.h"
#include "driver/run_state.h"

namespace driver {

struct SideBySideOutcome {
  std::uint32_t processed = 0;
  std::uint32_t failed = 0;
  std::vector<std::string> forecast_troubles;
  // A system ended the run (as a failed probe ends it) with this exit code;
  // its output, the end included, is written.
  std::optional<int> ended;
  // The deadline came first: the systems still measured then, in listing
  // order. Every system not counted as processed counts as failed.
  std::vector<std::string> timed_out;
};

// Measures `systems` (the listing's entries), up to `at_once` at a time,
// and writes each one's output and standard error in listing order, its
// channels through the run's document.
// Nothing, before any system is measured, when the processes' files have
// no place (the temporary directory): the run then measures one system
// after another.
std::optional<SideBySideOutcome> MeasureSideBySide(RunState& run, RunServices& services,
                                                   const std::vector<std::string>& systems,
                                                   int at_once);

}  // namespace driver
