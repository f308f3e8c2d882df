#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "platform/atomic_file.h"

namespace platform {
namespace {

// The system's message for `error`, with its number.
std::string SystemMessage(DWORD error) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  std::string message = "Windows error " + std::to_string(error);
  if (length > 0) message += " (" + std::string(text, length) + ")";
  return message;
}

}  // namespace

NativeFileKind KindOfNativeFile(const std::string& native_path) {
  const DWORD attributes = GetFileAttributesA(native_path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? NativeFileKind::kMissing
                                                                          : NativeFileKind::kOther;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return NativeFileKind::kDirectory;
  if (attributes & FILE_ATTRIBUTE_READONLY) return NativeFileKind::kReadOnlyFile;
  return NativeFileKind::kFile;
}

std::string ProcessIdText() { return std::to_string(GetCurrentProcessId()); }

bool SyncToDisk(std::FILE* file) {
  const std::intptr_t handle = _get_osfhandle(_fileno(file));
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

std::optional<std::string> RenameOver(const std::string& from, const std::string& to) {
  // Replaces an existing `to`; with write-through the call returns once
  // the move is on the disk.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return std::nullopt;
  }
  return SystemMessage(GetLastError());
}

}  // namespace platform
