#pragma once

#include <string>
#include <string_view>

namespace output {

// One aligned console line: `indent` blanks, the label left-aligned in a
// column of `width` characters (a longer label is printed whole), " : ", the
// text and a line feed.
std::string LabelledLine(std::string_view label, std::size_t indent, std::size_t width,
                         std::string_view text);

}  // namespace output
