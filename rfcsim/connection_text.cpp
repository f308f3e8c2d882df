#include "rfcsim/connection_text.h"

#include <algorithm>
#include <array>

#include "rfcsim/text.h"

namespace rfcsim {
namespace {
constexpr std::array<std::string_view, 11> kKnownKeys{"CLIENT", "USER",   "PASSWD", "LANG",
                                                      "DEST",   "TYPE",   "ASHOST", "SYSNR",
                                                      "GWHOST", "GWSERV", "TRACE"};
}  // namespace

ConnectionTextParse ParseConnectionText(std::string_view text) {
  ConnectionTextParse parse;
  std::size_t position = 0;
  while (true) {
    position = text.find_first_not_of(" \t", position);
    if (position == std::string_view::npos) break;
    const auto end = std::min(text.find_first_of(" \t", position), text.size());
    const std::string_view word = text.substr(position, end - position);
    position = end;

    const auto equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      parse.problem = platform::Joined("'", word, "' is not KEY=VALUE");
      break;
    }
    std::string key = AsciiUpper(word.substr(0, equals));
    if (std::find(kKnownKeys.begin(), kKnownKeys.end(), key) == kKnownKeys.end()) {
      parse.problem = platform::Joined("unknown key '", word.substr(0, equals), "'");
      break;
    }
    parse.values[std::move(key)] = std::string(word.substr(equals + 1));
  }
  if (parse.values.empty() && parse.problem.empty()) parse.problem = "the text is empty";
  if (!parse.problem.empty()) parse.values.clear();
  return parse;
}

}  // namespace rfcsim
