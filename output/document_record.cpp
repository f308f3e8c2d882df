#include "output/document_record.h"

#include <algorithm>

#include "output/texts.h"

namespace output {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return std::string(text.substr(first, last - first + 1));
}

// One line: line ends and tabs become blanks.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  return text;
}

}  // namespace

MonitorState StateOfRecord(const DocumentRecord& record) {
  if (record.error) return StateOfError(*record.error);
  if (!record.listing && record.channels.empty()) return MonitorState::kUnknown;
  MonitorState state = MonitorState::kOk;
  if (record.listing && record.listing->failed > 0) state = MonitorState::kCritical;
  for (const RecordedChannel& channel : record.channels) {
    state = Worse(state, StateOfChannel(channel.value, channel.limits, channel.warning));
  }
  return state;
}

std::string SummaryOfRecord(const DocumentRecord& record) {
  if (record.error) return OneLine(Trimmed(*record.error));
  if (record.listing) {
    const ListingCounts& listing = *record.listing;
    std::string text = listing.item + ": " + std::to_string(listing.systems) +
                       std::string(texts::kCountSystems) + std::to_string(listing.processed) +
                       std::string(texts::kCountMeasured) + std::to_string(listing.failed) +
                       std::string(texts::kCountFailed);
    if (const std::string suffix = Trimmed(listing.suffix); !suffix.empty()) {
      text.append(" ").append(suffix);
    }
    return OneLine(text);
  }
  if (record.channels.empty()) return std::string(texts::kNoFillingData);
  std::string text = Trimmed(record.message);
  if (!record.fixed_ids.empty() && record.fixed_ids.back() == record.channels.back().name &&
      record.channels.size() > 1) {
    // The forecast's channel follows the nine: its days belong in the text.
    text.append(", ").append(record.channels.back().name).append(": ");
    text.append(record.channels.back().value);
  }
  return OneLine(text);
}

}  // namespace output
