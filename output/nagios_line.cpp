#include "output/nagios_line.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "output/texts.h"

namespace output {
namespace {

std::string_view StateWord(MonitorState state) {
  static constexpr std::array<std::string_view, 4> kWords = {
      texts::kNagiosOk, texts::kNagiosWarning, texts::kNagiosCritical, texts::kNagiosUnknown};
  return kWords[static_cast<std::size_t>(state)];
}

// A label holds neither quotes nor equals signs, which end it for a reader.
std::string Label(std::string_view name) {
  std::string label(name);
  std::replace_if(
      label.begin(), label.end(), [](char c) { return c == '\'' || c == '='; }, '_');
  return "'" + label + "'";
}

// The summary must not hold the bar that starts the performance data.
std::string Summary(std::string text) {
  std::replace(text.begin(), text.end(), '|', '/');
  return text;
}

// A level as the plugins' ranges say it: an upper level W alerts above W
// ("W", the range 0 to W); a lower level L alerts below L ("L:").
std::string Range(int level, ChannelLimits::Direction direction) {
  return std::to_string(level) + (direction == ChannelLimits::Direction::kLower ? ":" : "");
}

std::string PerformanceData(const RecordedChannel& channel, bool percent) {
  const bool in_percent = percent || channel.unit == "PerCent";
  std::string data = Label(channel.name) + "=" + channel.value;
  if (in_percent) {
    data += "%";
  } else if (channel.unit == "MByte") {
    data += "MB";
  }
  data += ";";
  if (channel.limits) data += Range(channel.limits->warning, channel.limits->direction);
  data += ";";
  if (channel.limits) data += Range(channel.limits->error, channel.limits->direction);
  // Every value is a size, a share or a count of days: none below 0.
  data += ";0";
  if (in_percent) data += ";100";
  return data;
}

}  // namespace

std::string NagiosLine(const DocumentRecord& record) {
  std::string line(texts::kNagiosLead);
  line.append(StateWord(StateOfRecord(record))).append(" - ");
  line.append(Summary(SummaryOfRecord(record)));
  if (!record.error && !record.channels.empty()) {
    const bool percent = record.listing && record.listing->percent;
    line.append(" |");
    for (const RecordedChannel& channel : record.channels) {
      line.append(" ").append(PerformanceData(channel, percent));
    }
  }
  return line + "\n";
}

}  // namespace output
