#include "rfcsim/saprfc_ini.h"

#include "rfcsim/text.h"

namespace rfcsim {

std::optional<KeyValues> FindDestination(std::string_view ini_text, std::string_view destination) {
  std::optional<KeyValues> found;
  bool in_wanted_entry = false;
  while (!ini_text.empty()) {
    const auto end = ini_text.find('\n');
    std::string_view line = ini_text.substr(0, end);
    ini_text = end == std::string_view::npos ? std::string_view() : ini_text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    const auto equals = line.find('=');
    if (line.empty() || line.front() == '*' || equals == std::string_view::npos) continue;

    const std::string key = AsciiUpper(Trim(line.substr(0, equals)));
    const std::string_view value = Trim(line.substr(equals + 1));
    if (key == "DEST") {
      if (found) break;  // the wanted entry has ended
      in_wanted_entry = value == destination;
      if (in_wanted_entry) found.emplace();
      continue;
    }
    if (in_wanted_entry) (*found)[key] = std::string(value);
  }
  return found;
}

}  // namespace rfcsim
