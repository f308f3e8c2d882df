#include <termios.h>
#include <unistd.h>

#include "tools/profile_tool/console_echo.h"

namespace profile_tool {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::function<void()> SwitchOffInputEcho() {
  termios saved{};
  if (tcgetattr(STDIN_FILENO, &saved) != 0) {
    return {};
  }
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) != 0) {
    return {};
  }
  return [saved] { tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved); };
}

}  // namespace profile_tool
