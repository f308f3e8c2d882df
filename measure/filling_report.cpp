#include "measure/filling_report.h"

#include <string>

#include "include/texts.h"
#include "measure/filling_channels.h"

namespace {

constexpr std::string_view kFillingTextOpen = "(";

}  // namespace

void ReportFillingRow(RunState& run, RunServices& services, const FillingRow& row) {
  ResultDocument& document = run.Document;
  document.OpenResultDocument();
  document.OpenResultText();
  document.Append(kFillingTextOpen);
  document.AppendExternal(run.Profile.Destination);
  document.Append(texts::kFillingTextLead);
  document.Append(texts::kFillingTotalSize);
  document.Append(row.total.raw);
  document.Append(texts::kFillingUsedArea);
  document.Append(std::to_string(row.used_percent));
  document.Append(texts::kFillingFreeArea);
  document.Append(std::to_string(row.free_percent));
  document.Append(texts::kFillingTextEnd);
  document.CloseResultText();
  services.out.Write(document.Take());

  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    document.WriteChannel(kFillingChannels[i].name, values[i].in_channel, kFillingChannels[i].unit);
  }
}

void ReportFillingItem(RunState& run, RunServices& services, const FillingRow& row) {
  run.Document.Clear();
  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    if (run.ItemName == kFillingChannels[i].name) {
      // Delivered only with its channel: a system whose filling lacks the
      // item counts as not found, never as processed.
      run.DataDelivered = true;
      run.Document.WriteChannel(run.DisplayName, values[i].in_listing, kUnitListing);
      services.out.Write(run.Document.Take());
      return;
    }
  }
}
