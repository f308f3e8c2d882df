#include "measure/filling_report.h"

#include <string>

#include "include/texts.h"
#include "measure/filling_channels.h"

namespace {

constexpr std::string_view kFillingTextOpen = "(";

}  // namespace

void ReportFillingRow(ResultDocument& document, OutputSink& out, std::string_view destination,
                      const FillingRow& row) {
  document.OpenResultDocument();
  document.OpenResultText();
  document.Append(kFillingTextOpen);
  document.AppendExternal(destination);
  document.Append(texts::kFillingTextLead);
  document.Append(texts::kFillingTotalSize);
  document.Append(row.total.raw);
  document.Append(texts::kFillingUsedArea);
  document.Append(std::to_string(row.used_percent));
  document.Append(texts::kFillingFreeArea);
  document.Append(std::to_string(row.free_percent));
  document.Append(texts::kFillingTextEnd);
  document.CloseResultText();
  out.Write(document.Take());

  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    document.WriteChannel(kFillingChannels[i].name, values[i].in_channel, kFillingChannels[i].unit);
  }
}

bool ReportFillingItem(ResultDocument& document, OutputSink& out, std::string_view item,
                       std::string_view channel_name, const FillingRow& row) {
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
