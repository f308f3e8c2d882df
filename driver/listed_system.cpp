#include "driver/listed_system.h"

#include "output/exit_codes.h"
#include "platform/environment.h"

namespace driver {
namespace {

constexpr std::string_view kProcessed = "processed";
constexpr std::string_view kFailed = "failed";
constexpr std::string_view kUnread = "unread";
constexpr std::string_view kEndsRun = "ends ";

// The exit codes a system may end the listing run with.
std::optional<int> EndingCode(std::string_view line) {
  if (!line.starts_with(kEndsRun)) return std::nullopt;
  const std::string_view code = line.substr(kEndsRun.size());
  if (code == "1") return output::kExitRfcError;
  if (code == "2") return output::kExitRunError;
  return std::nullopt;
}

std::string VariableValue(const char* name) {
  const std::optional<platform::SystemText> value = platform::EnvironmentValue(name);
  if (!value) return {};
  return platform::AnsiText(*value).value_or("");
}

}  // namespace

std::string ListedCountText(const ListedCount& count) {
  std::string text;
  switch (count.state) {
    case ListedCount::State::kProcessed:
      text = kProcessed;
      break;
    case ListedCount::State::kFailed:
      text = kFailed;
      break;
    case ListedCount::State::kUnread:
      text = kUnread;
      break;
    case ListedCount::State::kEndsRun:
      text = std::string(kEndsRun) + std::to_string(count.exit_code);
      break;
  }
  text += '\n';
  for (const std::string& trouble : count.forecast_troubles) text.append(trouble).append("\n");
  return text;
}

std::optional<ListedCount> ListedCountOf(std::string_view text) {
  ListedCount count;
  bool first = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!first) {
      count.forecast_troubles.emplace_back(line);
      continue;
    }
    first = false;
    if (line == kProcessed) {
      count.state = ListedCount::State::kProcessed;
    } else if (line == kFailed) {
      count.state = ListedCount::State::kFailed;
    } else if (line == kUnread) {
      count.state = ListedCount::State::kUnread;
    } else if (const std::optional<int> code = EndingCode(line)) {
      count.state = ListedCount::State::kEndsRun;
      count.exit_code = *code;
    } else {
      return std::nullopt;
    }
  }
  if (first) return std::nullopt;
  return count;
}

std::optional<std::size_t> ListedSystemOfEnvironment() {
  const std::string value = VariableValue(kListedSystemVariable);
  if (value.empty() || value.size() > 6 ||
      value.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(std::stoul(value));
}

std::string ListedResultPathOfEnvironment() { return VariableValue(kListedResultVariable); }

}  // namespace driver
