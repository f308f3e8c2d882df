// Where the profile tool reads and writes: the process's streams in the
// program, string streams in the tests.
#pragma once

#include <istream>
#include <ostream>

namespace profile_tool {

struct ToolConsole {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // Passwords typed at a terminal are asked for on `err`, not echoed, and
  // asked twice; from a pipe they are one line each.
  bool in_is_terminal = false;
};

inline constexpr int kToolSuccess = 0;
inline constexpr int kToolRefused = 2;  // wrong usage or input that was refused

}  // namespace profile_tool
