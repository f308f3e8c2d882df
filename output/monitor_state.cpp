#include "output/monitor_state.h"

#include <charconv>
#include <cstdint>

namespace output {
namespace {

// The numbers of the errors on the SAP system's side.
constexpr int kFirstSystemError = 1011;
constexpr int kLastSystemError = 1018;
constexpr std::string_view kErrorLead = "Error ";

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return number;
}

}  // namespace

MonitorState Worse(MonitorState a, MonitorState b) {
  return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

MonitorState StateOfError(std::string_view message) {
  if (!message.starts_with(kErrorLead)) return MonitorState::kUnknown;
  const std::string_view digits = message.substr(kErrorLead.size(), 4);
  const std::optional<std::int64_t> number = WholeNumber(digits);
  if (number && *number >= kFirstSystemError && *number <= kLastSystemError) {
    return MonitorState::kCritical;
  }
  return MonitorState::kUnknown;
}

MonitorState StateOfChannel(std::string_view value, const std::optional<ChannelLimits>& limits,
                            bool warning) {
  MonitorState state = warning ? MonitorState::kWarning : MonitorState::kOk;
  const std::optional<std::int64_t> number = WholeNumber(value);
  if (!limits || !number) return state;
  const bool upper = limits->direction == ChannelLimits::Direction::kUpper;
  const auto passes = [&](int level) { return upper ? *number > level : *number < level; };
  if (passes(limits->error)) return MonitorState::kCritical;
  if (passes(limits->warning)) return Worse(state, MonitorState::kWarning);
  return state;
}

}  // namespace output
