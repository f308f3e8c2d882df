// Windows paths as the scenarios write them, taken apart the way Windows
// resolves them for a process.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct WindowsLocation {
  char drive = 'C';  // upper case
  std::vector<std::string> components;

  // "D:\PRTG\PRD.P00"; "D:\" for the drive's root.
  std::string ToString() const;
};

// Resolves `path` for a process whose working directory is the absolute
// `working_directory`: "X:\rest" lies on drive X, "\rest" on the working
// directory's drive, anything else below the working directory. Both "\"
// and "/" separate components. Throws std::invalid_argument for "." and ".."
// components and for a working directory without a drive, which scenarios
// have no need of.
WindowsLocation ResolveWindowsPath(std::string_view path, std::string_view working_directory);

// Whether two Windows paths name the same file, ignoring the case of
// letters as Windows does.
bool SameWindowsPath(std::string_view a, std::string_view b);

}  // namespace e2e
