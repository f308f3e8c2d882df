// Turning a decoded DEVSTAT row into output.
#pragma once

#include <string_view>

#include "include/output_sink.h"
#include "include/result_document.h"
#include "measure/filling_row.h"

// Single-system run: opens the document, writes and prints the text line
// "(<destination>) DBase Filling: TotalSize=..., UsedArea=...%, FreeArea=...% "
// and appends the nine channels, which stay in the document for the driver
// to print with its end.
void ReportFillingRow(ResultDocument& document, OutputSink& out, std::string_view destination,
                      const FillingRow& row);

// Listing run: when `item` is one of the nine channel names exactly, prints
// one channel named `channel_name` with the raw value in "Pages" and returns
// true: the system delivered. Any other item prints nothing and returns
// false.
bool ReportFillingItem(ResultDocument& document, OutputSink& out, std::string_view item,
                       std::string_view channel_name, const FillingRow& row);
