// Turning a decoded DEVSTAT row into output.
#pragma once

#include "include/run_services.h"
#include "include/run_state.h"
#include "measure/filling_row.h"

// Single-system run: opens the document, writes and prints the text line
// "(<Destination>) DBase Filling: TotalSize=..., UsedArea=...%, FreeArea=...% "
// and appends the nine channels, which stay in the document for the driver
// to print with its end.
void ReportFillingRow(RunState& run, RunServices& services, const FillingRow& row);

// Listing run: when run.ItemName is one of the nine channel names exactly,
// prints one channel named run.DisplayName with the raw value in "Pages" and
// marks the system as delivered. Any other item name prints nothing and
// leaves the mark as it was.
void ReportFillingItem(RunState& run, RunServices& services, const FillingRow& row);
