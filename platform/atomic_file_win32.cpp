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

std::vector<std::string> StaleNativeFiles(const std::string& native_path,
                                          std::string_view suffix_start, std::chrono::seconds age) {
  const std::size_t separator = native_path.find_last_of("\\/");
  const std::string prefix =
      separator == std::string::npos ? "" : native_path.substr(0, separator + 1);
  const std::string pattern = native_path + std::string(suffix_start) + "*";
  FILETIME now_time{};
  GetSystemTimeAsFileTime(&now_time);
  // File times count 100 ns.
  const auto now =
      (static_cast<std::uint64_t>(now_time.dwHighDateTime) << 32U) | now_time.dwLowDateTime;
  const std::uint64_t span = static_cast<std::uint64_t>(age.count()) * 10'000'000U;
  std::vector<std::string> stale;
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return stale;
  do {
    const auto written = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32U) |
                         found.ftLastWriteTime.dwLowDateTime;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && now > span &&
        written < now - span) {
      stale.push_back(prefix + found.cFileName);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return stale;
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
