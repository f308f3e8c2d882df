#include <string>
#include <vector>

#include "platform/child_process.h"

namespace platform {

namespace {

// One argument as the C runtime reads it back: backslashes count only
// before a quote, where each stands for itself when doubled.
void AppendArgument(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    line.append(backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  // Before the closing quote every backslash is doubled.
  line.append(backslashes * 2, '\\');
  line += '"';
}

}  // namespace

std::string WindowsCommandLine(const std::string& program,
                               const std::vector<std::string>& arguments) {
  // The program's name ends at the next quote, never escaped: a Windows
  // file name holds no quote.
  std::string line = "\"" + program + "\"";
  for (const std::string& argument : arguments) {
    line += ' ';
    AppendArgument(line, argument);
  }
  return line;
}

}  // namespace platform
