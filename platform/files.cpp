#include "platform/files.h"

#include "platform/native_path.h"

namespace platform {

UniqueFile OpenForReading(std::string_view windows_path) {
  std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) {
    return nullptr;
  }
  if (!IsRegularFile(*native)) {
    return nullptr;
  }
  return UniqueFile(std::fopen(native->c_str(), "rb"));
}

bool CanOpenForReading(std::string_view windows_path) {
  return OpenForReading(windows_path) != nullptr;
}

UniqueFile CreateForWriting(std::string_view windows_path) {
  std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) {
    return nullptr;
  }
  ForgetDirectoryIndex();
  return UniqueFile(std::fopen(native->c_str(), "wb"));
}

UniqueFile OpenForAppending(std::string_view windows_path) {
  std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) {
    return nullptr;
  }
  ForgetDirectoryIndex();
  return UniqueFile(std::fopen(native->c_str(), "ab"));
}

bool RemoveFile(std::string_view windows_path) {
  std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) {
    return false;
  }
  if (!IsRegularFile(*native)) {
    return false;
  }
  ForgetDirectoryIndex();
  return std::remove(native->c_str()) == 0;
}

}  // namespace platform
