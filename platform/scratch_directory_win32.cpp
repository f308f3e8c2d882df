#include <windows.h>

#include <string>
#include <utility>

#include "platform/scratch_directory.h"

namespace platform {
namespace {

void RemoveTree(const std::string& directory, int levels) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directory + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        if (levels > 0) RemoveTree(path, levels - 1);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found) != FALSE);
    FindClose(search);
  }
  RemoveDirectoryA(directory.c_str());
}

constexpr const char* kPrefix = "brackwater.";
// Two hours in the file times' unit of 100 ns: longer than the longest
// deadline a run may have.
constexpr ULONGLONG kLeftBehindAfter = 2ULL * 3600ULL * 10000000ULL;

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void RemoveLeftBehind() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((std::string(kPrefix) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        Ticks(now) > Ticks(found.ftLastWriteTime) &&
        Ticks(now) - Ticks(found.ftLastWriteTime) > kLeftBehindAfter) {
      RemoveTree(found.cFileName, 2);
    }
  } while (FindNextFileA(search, &found) != FALSE);
  FindClose(search);
}

}  // namespace

std::optional<ScratchDirectory> ScratchDirectory::Create() {
  RemoveLeftBehind();
  const std::string stem = kPrefix + std::to_string(GetCurrentProcessId()) + ".";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string path = stem + std::to_string(GetTickCount() + attempt);
    if (CreateDirectoryA(path.c_str(), nullptr) != FALSE) return ScratchDirectory(path + "\\");
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

ScratchDirectory::ScratchDirectory(ScratchDirectory&& other) noexcept
    : path_(std::exchange(other.path_, std::string())) {}

ScratchDirectory::~ScratchDirectory() {
  if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 1), 2);
}

std::optional<std::string> ScratchDirectory::MakeSubdirectory(const std::string& name) const {
  const std::string path = path_ + name;
  if (CreateDirectoryA(path.c_str(), nullptr) == FALSE) return std::nullopt;
  return path + "\\";
}

}  // namespace platform
