#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "driver/run_services.h"
#include "driver/run_state.h"
#include "output/result_document.h"

namespace driver {

// Measures every system the listing named, one after another, and reports
// the listing's one item per system as a channel named after the system,
// then a summary of processed and failed systems. Returns the exit code; a
// failed probe or system information, or a database that is not MaxDB, ends
// the whole run through ErrorDocumentExit after what was already printed.
int RunListing(RunState& run, RunServices& services);

// The listing's summary document, "(***) <item>: NoSystems=..., Processed=...,
// Failed=..." and `suffix`, in `document`'s format; `document` is empty
// before. Handed out with the line feed that follows it; a format that
// answers once hands out its whole answer, recorded channels included.
std::string ListingSummary(output::ResultDocument& document, std::string_view item,
                           std::uint32_t systems, std::uint32_t processed, std::uint32_t failed,
                           std::string_view suffix);

}  // namespace driver
