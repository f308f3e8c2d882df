#include "platform/native_path.h"

namespace platform {

std::optional<std::string> ToNativePath(std::string_view windows_path) {
  return std::string(windows_path);
}

void ForgetDirectoryIndex() {}

}  // namespace platform
