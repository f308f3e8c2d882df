#include "output/labelled_line.h"

namespace output {

std::string LabelledLine(std::string_view label, std::size_t indent, std::size_t width,
                         std::string_view text) {
  std::string line(indent, ' ');
  line.append(label);
  if (label.size() < width) line.append(width - label.size(), ' ');
  line.append(" : ").append(text).append("\n");
  return line;
}

}  // namespace output
