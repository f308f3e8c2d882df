// Maps the Windows paths the sensor works with to the file system it runs on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// On Windows the path itself. Elsewhere:
//  - "X:\rest" (any case of letter) lies below $BRACKWATER_DRIVES/X;
//  - "\rest" lies on the current drive: the drive whose directory holds the
//    working directory, else C;
//  - a relative path stays relative to the working directory;
//  - every "\" separates components, and a component that does not exist
//    with the exact spelling is looked up ignoring case, as Windows does.
// Without BRACKWATER_DRIVES, paths with a drive letter never exist
// (nullopt) and rooted paths lie below "/".
std::optional<std::string> ToNativePath(std::string_view windows_path);

// The mapping with its surroundings given, for tests: `drives_root` empty
// means BRACKWATER_DRIVES is unset.
std::optional<std::string> MapWindowsPath(std::string_view windows_path,
                                          const std::string& drives_root,
                                          const std::string& working_directory);

// The reverse, for a native path the system hands out: below the drive
// directory X of `drives_root` (BRACKWATER_DRIVES), "X:\rest" with "\"
// separators; any other path, and any path when `drives_root` is empty,
// as it is.
std::string NativeToWindowsPath(const std::string& native_path, const std::string& drives_root);

// Whether `native_path` names an existing regular file (not a directory).
// Asked of the operating system directly: std::filesystem converts paths
// through the C++ locale on Windows, which would put the whole locale
// machinery into the program and its start-up.
bool IsRegularFile(const std::string& native_path);

// Drops what the mapping remembers of directory contents; the file
// operations call it after creating or removing a file.
void ForgetDirectoryIndex();

}  // namespace platform
