#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "platform/native_path.h"

namespace platform {

std::optional<std::string> ToNativePath(std::string_view windows_path) {
  const char* drives = std::getenv("BRACKWATER_DRIVES");
  std::error_code ec;
  std::string working_directory = std::filesystem::current_path(ec).string();
  return MapWindowsPath(windows_path, drives ? drives : "", working_directory);
}

bool IsRegularFile(const std::string& native_path) {
  struct stat status {};
  return ::stat(native_path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace platform
