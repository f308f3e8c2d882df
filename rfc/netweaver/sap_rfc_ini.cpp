#include "rfc/netweaver/sap_rfc_ini.h"

#include <cstdio>

#include "include/texts.h"
#include "include/upper_case.h"
#include "platform/files.h"

namespace rfc::nw {
namespace {

constexpr std::string_view kDestinationKey = "DEST";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::map<std::string, std::string>> FindDestinationIn(std::string_view file_text,
                                                                    std::string_view destination) {
  std::optional<std::map<std::string, std::string>> entry;
  bool in_entry = false;
  std::size_t from = 0;
  while (from < file_text.size()) {
    std::size_t end = file_text.find('\n', from);
    if (end == std::string_view::npos) end = file_text.size();
    const std::string_view line = Trimmed(file_text.substr(from, end - from));
    from = end + 1;
    if (line.empty() || line.front() == '*') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key = UpperCase(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (key == kDestinationKey) {
      if (entry) break;
      in_entry = value == destination;
      if (in_entry) entry.emplace();
    }
    if (in_entry) (*entry)[key] = std::string(value);
  }
  return entry;
}

std::optional<std::map<std::string, std::string>> FindDestination(std::string_view destination) {
  platform::UniqueFile file = platform::OpenForReading(file_names::kSapRfcIni);
  if (!file) return std::nullopt;
  std::string text;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, read);
  return FindDestinationIn(text, destination);
}

}  // namespace rfc::nw
