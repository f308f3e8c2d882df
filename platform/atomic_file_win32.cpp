#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <limits>

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

// The C library's error number for what a file operation met.
int ErrorNumberOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    default:
      return EIO;
  }
}

// Whether another program holds `path` open without sharing its deletion,
// which keeps a rename over it from going through: opening it for deletion
// then meets a sharing violation.
bool HeldWithoutSharingDeletion(const std::string& path) {
  const HANDLE handle =
      CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    CloseHandle(handle);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
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

UniqueFile OpenNativeReplaceable(const std::string& native_path) {
  // The C library's own opening shares neither deletion nor renaming: a
  // poll reading the file would keep another from replacing it.
  const HANDLE handle = CreateFileA(native_path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ErrorNumberOf(GetLastError());
    return nullptr;
  }
  const int descriptor =
      _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "rb");
  if (file == nullptr) _close(descriptor);
  return UniqueFile(file);
}

bool SeekBeforeEnd(std::FILE* file, std::uint64_t count) {
  if (count > static_cast<std::uint64_t>(std::numeric_limits<long long>::max())) return false;
  return _fseeki64(file, -static_cast<long long>(count), SEEK_END) == 0;
}

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

std::optional<FileFailure> RenameOver(const std::string& from, const std::string& to) {
  // Replaces an existing `to`; with write-through the call returns once
  // the move is on the disk. A program holding `to` open without sharing
  // its deletion (a viewer, a virus scanner) keeps it from being replaced
  // while it does: most let go within moments.
  constexpr int kTries = 40;
  constexpr DWORD kPauseMilliseconds = 25;
  DWORD error = ERROR_SUCCESS;
  for (int tried = 1;; ++tried) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return std::nullopt;
    }
    error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || tried == kTries)
      break;
    Sleep(kPauseMilliseconds);
  }
  FileTrouble trouble = TroubleOfError(ErrorNumberOf(error));
  // Windows denies a rename over a file that another program holds open
  // as it would deny one over a file this account may not replace.
  if (error == ERROR_ACCESS_DENIED && HeldWithoutSharingDeletion(to))
    trouble = FileTrouble::kLocked;
  return FileFailure{SystemMessage(error), trouble};
}

}  // namespace platform
