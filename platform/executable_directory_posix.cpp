#include <cstdlib>
#include <filesystem>

#include "platform/installation_file.h"
#include "platform/native_path.h"

namespace platform {

std::string ExecutablePath() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string ExecutableDirectory() {
  const std::string path = ExecutablePath();
  if (path.empty()) return {};
  return std::filesystem::path(path).parent_path().string() + "/";
}

std::string ExecutableDirectoryAsPath() {
  const char* drives = std::getenv("BRACKWATER_DRIVES");
  return NativeToWindowsPath(ExecutableDirectory(), drives != nullptr ? drives : "");
}

}  // namespace platform
