#include "output/channel_key.h"

#include <string_view>

namespace output {

std::string ChannelKey(std::string_view name) {
  constexpr std::string_view kReplaced = " /\\[]*():-";
  std::string key(name);
  for (char& c : key) {
    if (kReplaced.find(c) != std::string_view::npos) c = '_';
  }
  // Only the first point: later ones are kept as they are.
  if (std::size_t point = key.find('.'); point != std::string::npos) key[point] = '_';
  return key;
}

}  // namespace output
