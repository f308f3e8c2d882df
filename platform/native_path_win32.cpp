#include "platform/native_path.h"

#include <windows.h>

namespace platform {

std::optional<std::string> ToNativePath(std::string_view windows_path) {
  return std::string(windows_path);
}

bool IsRegularFile(const std::string& native_path) {
  const DWORD attributes = GetFileAttributesA(native_path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ForgetDirectoryIndex() {}

}  // namespace platform
