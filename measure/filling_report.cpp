#include "measure/filling_report.h"

#include <string>

#include "measure/filling_channels.h"
#include "output/texts.h"

namespace measure {

namespace {

constexpr std::string_view kFillingTextOpen = "(";

}  // namespace

void ReportFillingRow(output::ResultDocument& document, output::OutputSink& out,
                      std::string_view destination, const rfc::FillingRow& row) {
  document.OpenResultDocument();
  document.OpenResultText();
  document.Append(kFillingTextOpen);
  document.AppendExternal(destination);
  document.Append(output::texts::kFillingTextLead);
  document.Append(output::texts::kFillingTotalSize);
  document.Append(row.total.raw);
  document.Append(output::texts::kFillingUsedArea);
  document.Append(std::to_string(row.used_percent));
  document.Append(output::texts::kFillingFreeArea);
  document.Append(std::to_string(row.free_percent));
  document.Append(output::texts::kFillingTextEnd);
  document.CloseResultText();
  out.Write(document.Take());

  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    document.WriteChannel(kFillingChannels[i].name, values[i].in_channel, kFillingChannels[i].unit);
  }
}

bool ReportFillingItem(output::ResultDocument& document, output::OutputSink& out,
                       std::string_view item, std::string_view channel_name,
                       const rfc::FillingRow& row) {
  document.Clear();
  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    if (item == kFillingChannels[i].name) {
      document.WriteChannel(channel_name, values[i].in_listing, kUnitListing);
      out.Write(document.Take());
      return true;
    }
  }
  return false;
}

}  // namespace measure
