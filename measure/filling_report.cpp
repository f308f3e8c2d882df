#include "measure/filling_report.h"

#include <string>

#include "measure/filling_channels.h"
#include "measure/filling_limits.h"
#include "output/texts.h"

namespace measure {

namespace {

constexpr std::string_view kFillingTextOpen = "(";

}  // namespace

void ReportFillingRow(output::ResultDocument& document, output::OutputSink& out,
                      std::string_view destination, const rfc::FillingRow& row,
                      const std::optional<config::FillingLimits>& limits,
                      const std::optional<std::string>& trouble) {
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
  if (trouble) document.AppendExternal(ForecastTroubleText({*trouble}) + " ");
  document.CloseResultText();
  out.Write(document.Take());

  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    const FillingChannel& channel = kFillingChannels[i];
    document.WriteChannel(channel.name, values[i].in_channel, channel.unit,
                          LimitsOfChannel(channel.name, RunKind::kSingleSystem, limits));
  }
}

void ReportDaysUntilFull(output::ResultDocument& document, int days, bool trouble) {
  document.WriteChannel(kDaysUntilFull.name, std::to_string(days), kDaysUntilFull.unit,
                        LimitsOfChannel(kDaysUntilFull.name, RunKind::kSingleSystem, std::nullopt),
                        trouble);
}

bool ReportFillingItem(output::ResultDocument& document, output::OutputSink& out,
                       std::string_view item, std::string_view channel_name,
                       const rfc::FillingRow& row,
                       const std::optional<config::FillingLimits>& limits) {
  document.Clear();
  const auto values = FillingValues(row);
  for (std::size_t i = 0; i < kFillingChannelCount; ++i) {
    if (item == kFillingChannels[i].name) {
      document.WriteChannel(channel_name, values[i].in_listing, kUnitListing,
                            LimitsOfChannel(item, RunKind::kListing, limits));
      out.Write(document.Take());
      return true;
    }
  }
  return false;
}

void ReportDaysUntilFullItem(output::ResultDocument& document, output::OutputSink& out,
                             std::string_view channel_name, int days, bool trouble) {
  document.Clear();
  document.WriteChannel(channel_name, std::to_string(days), kDaysUntilFull.unit,
                        LimitsOfChannel(kDaysUntilFull.name, RunKind::kListing, std::nullopt),
                        trouble);
  out.Write(document.Take());
}

std::string ForecastTroubleText(const std::vector<std::string>& troubles) {
  std::string text;
  for (const std::string& trouble : troubles) {
    text.append(text.empty() ? output::texts::kForecastTroubleLead
                             : output::texts::kForecastTroubleSeparator);
    text.append(trouble);
  }
  return text;
}

}  // namespace measure
