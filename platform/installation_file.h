#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The first line (line end removed) of the file `file_name` in the
// executable's own directory; nothing when there is no such file.
std::optional<std::string> FirstLineBesideExecutable(std::string_view file_name);

// The running executable's file, its full path; empty when it cannot be
// told.
std::string ExecutablePath();

// The directory of the running executable, with a trailing separator;
// empty when it cannot be told.
std::string ExecutableDirectory();

// The same directory as the file functions take paths (files.h): on
// Windows the directory itself; elsewhere the native path, or on simulated
// drives the Windows path of the drive it lies on (native_path.h).
std::string ExecutableDirectoryAsPath();

}  // namespace platform
