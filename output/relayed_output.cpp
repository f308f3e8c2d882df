#include "output/relayed_output.h"

#include <charconv>

namespace output {
namespace {

void AppendField(std::string& content, std::string_view field) {
  content.append(std::to_string(field.size())).append(":").append(field);
}

std::string Frame(char kind, std::string_view content) {
  std::string frame(1, kind);
  AppendField(frame, content);
  return frame;
}

// Reads "<length>:<bytes>" from the front of `text`.
std::optional<std::string_view> TakeField(std::string_view& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 10) return std::nullopt;
  std::size_t length = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + colon, length);
  if (error != std::errc() || end != text.data() + colon || length > text.size() - colon - 1) {
    return std::nullopt;
  }
  const std::string_view field = text.substr(colon + 1, length);
  text.remove_prefix(colon + 1 + length);
  return field;
}

std::optional<int> Number(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<ChannelRecord> ChannelOf(std::string_view content) {
  ChannelRecord channel;
  const auto name = TakeField(content);
  const auto value = TakeField(content);
  const auto unit = TakeField(content);
  const auto warning = TakeField(content);
  if (!name || !value || !unit || !warning || (*warning != "0" && *warning != "1")) {
    return std::nullopt;
  }
  channel = ChannelRecord{std::string(*name), std::string(*value), std::string(*unit), std::nullopt,
                          *warning == "1"};
  if (content.empty()) return channel;
  const auto direction = TakeField(content);
  const auto warning_level = TakeField(content);
  const auto error_level = TakeField(content);
  const auto warning_message = TakeField(content);
  const auto error_message = TakeField(content);
  if (!direction || !warning_level || !error_level || !warning_message || !error_message ||
      !content.empty() || (*direction != "U" && *direction != "L")) {
    return std::nullopt;
  }
  const std::optional<int> warning_at = Number(*warning_level);
  const std::optional<int> error_at = Number(*error_level);
  if (!warning_at || !error_at) return std::nullopt;
  channel.limits = ChannelLimits{
      *direction == "U" ? ChannelLimits::Direction::kUpper : ChannelLimits::Direction::kLower,
      *warning_at, *error_at, std::string(*warning_message), std::string(*error_message)};
  return channel;
}

}  // namespace

std::string TextFrame(std::string_view text) { return Frame('T', text); }

std::string ChannelFrame(const ChannelRecord& channel) {
  std::string content;
  AppendField(content, channel.name);
  AppendField(content, channel.value);
  AppendField(content, channel.unit);
  AppendField(content, channel.warning ? "1" : "0");
  if (channel.limits) {
    const ChannelLimits& limits = *channel.limits;
    AppendField(content, limits.direction == ChannelLimits::Direction::kUpper ? "U" : "L");
    AppendField(content, std::to_string(limits.warning));
    AppendField(content, std::to_string(limits.error));
    AppendField(content, limits.warning_message);
    AppendField(content, limits.error_message);
  }
  return Frame('C', content);
}

std::vector<RelayedPart> RelayedParts(std::string_view relayed, bool whole) {
  std::vector<RelayedPart> parts;
  while (!relayed.empty()) {
    std::string_view rest = relayed.substr(1);
    const std::optional<std::string_view> content = TakeField(rest);
    std::optional<RelayedPart> part;
    if (content && relayed.front() == 'T') {
      part = std::string(*content);
    } else if (content && relayed.front() == 'C') {
      if (std::optional<ChannelRecord> channel = ChannelOf(*content)) part = std::move(*channel);
    }
    if (!part) break;
    parts.push_back(std::move(*part));
    relayed = rest;
  }
  if (whole && !relayed.empty()) parts.emplace_back(std::string(relayed));
  return parts;
}

}  // namespace output
