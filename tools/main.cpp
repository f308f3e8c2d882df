// brackwater-profile: see tools/profile_tool/tool.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/profile_tool/console_echo.h"
#include "tools/profile_tool/tool.h"

int main(int argc, char** argv) {
  profile_tool::ToolConsole console{std::cin, std::cout, std::cerr,
                                    profile_tool::StandardInputIsTerminal()};
  return profile_tool::RunProfileTool(std::vector<std::string>(argv, argv + argc), console);
}
