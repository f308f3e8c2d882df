// Turning a decoded DEVSTAT row into output.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/run_options.h"
#include "output/output_sink.h"
#include "output/result_document.h"
#include "rfc/filling_row.h"

namespace measure {

// Single-system run: opens the document, writes and prints the text line
// "(<destination>) DBase Filling: TotalSize=..., UsedArea=...%, FreeArea=...% "
// and appends the nine channels, which stay in the document for the driver
// to print with its end; "Used Area [Prc]" with `limits`. A forecast's
// `trouble` with its history follows the text ("- forecast: ... ").
void ReportFillingRow(output::ResultDocument& document, output::OutputSink& out,
                      std::string_view destination, const rfc::FillingRow& row,
                      const std::optional<config::FillingLimits>& limits,
                      const std::optional<std::string>& trouble = std::nullopt);

// Single-system run: appends the forecast's channel after the nine, in
// PRTG's warning state where the history was in `trouble`.
void ReportDaysUntilFull(output::ResultDocument& document, int days, bool trouble);

// Listing run: when `item` is one of the nine channel names exactly, prints
// one channel named `channel_name` with the raw value in "Pages" and returns
// true: the system delivered. Any other item prints nothing and returns
// false. The per-cent items of the used and the free area carry `limits`.
bool ReportFillingItem(output::ResultDocument& document, output::OutputSink& out,
                       std::string_view item, std::string_view channel_name,
                       const rfc::FillingRow& row,
                       const std::optional<config::FillingLimits>& limits);

// Listing run: prints the item "Days Until Full" as one channel named
// `channel_name`, in PRTG's warning state where the history was in
// `trouble`.
void ReportDaysUntilFullItem(output::ResultDocument& document, output::OutputSink& out,
                             std::string_view channel_name, int days, bool trouble);

// The text that tells the monitor of the histories in trouble, "- forecast: "
// and each one's trouble; empty where there is none.
std::string ForecastTroubleText(const std::vector<std::string>& troubles);

}  // namespace measure
