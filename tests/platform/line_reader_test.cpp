#include "platform/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, LineEndsLimitsAndNulBytes) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t limit;
    Lines expected;
  };
  const std::vector<Case> cases = {
      {"empty text has no line", "", 10, {}},
      {"LF and CR LF end lines alike", "a\nb\r\nc", 10, {"a", "b", "c"}},
      {"no final line end", "abc", 10, {"abc"}},
      {"a lone CR is a character", "a\rb\n", 10, {"a\rb"}},
      {"CR at the very end stays", "a\r", 10, {"a\r"}},
      {"blank lines stay", "\n\n", 10, {"", ""}},
      {"line of exactly the limit", "abcd\nx", 4, {"abcd", "", "x"}},
      {"longer line is cut, remainder read on", "abcdefghij\n", 4, {"abcd", "efgh", "ij"}},
      {"CR LF after a cut line gives an empty line", "abcd\r\nx", 4, {"abcd", "", "x"}},
      {"a NUL ends the line for the readers", std::string("ab\0cd\nef", 8), 10, {"ab", "ef"}},
      {"a limit of 0 takes no line", "abc\n", 0, {}},
      {"bytes after a NUL still count to the limit", std::string("a\0bcdef", 7), 4, {"a", "def"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::SplitLines(c.text, c.limit), c.expected) << c.what;
  }
}

}  // namespace
