#include <windows.h>

#include "tools/profile_tool/console_echo.h"

namespace profile_tool {

bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

std::function<void()> SwitchOffInputEcho() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  if (GetConsoleMode(input, &saved) == 0 ||
      SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) == 0) {
    return {};
  }
  return [input, saved] { SetConsoleMode(input, saved); };
}

}  // namespace profile_tool
