#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/atomic_file.h"

namespace platform {

NativeFileKind KindOfNativeFile(const std::string& native_path) {
  struct stat status {};
  if (::stat(native_path.c_str(), &status) != 0) {
    // A missing directory on the way, or a file where one should be, holds
    // no such file either.
    return errno == ENOENT || errno == ENOTDIR ? NativeFileKind::kMissing : NativeFileKind::kOther;
  }
  if (S_ISDIR(status.st_mode)) return NativeFileKind::kDirectory;
  if (!S_ISREG(status.st_mode)) return NativeFileKind::kOther;
  // Read-only as Windows has it: a file no one may write, whatever this
  // process's privileges would allow (rename replaces it regardless).
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return NativeFileKind::kReadOnlyFile;
  return NativeFileKind::kFile;
}

std::string ProcessIdText() { return std::to_string(::getpid()); }

UniqueFile OpenNativeReplaceable(const std::string& native_path) {
  // An open file never keeps another process from renaming over it here.
  return UniqueFile(std::fopen(native_path.c_str(), "rb"));
}

bool SeekBeforeEnd(std::FILE* file, std::uint64_t count) {
  if (count > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
  return ::fseeko(file, -static_cast<off_t>(count), SEEK_END) == 0;
}

bool SyncToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

std::vector<std::string> StaleNativeFiles(const std::string& native_path,
                                          std::string_view suffix_start, std::chrono::seconds age) {
  const std::size_t slash = native_path.rfind('/');
  const std::string directory =
      slash == std::string::npos ? "." : native_path.substr(0, slash == 0 ? 1 : slash);
  const std::string start =
      (slash == std::string::npos ? native_path : native_path.substr(slash + 1)) +
      std::string(suffix_start);
  const std::string prefix = slash == std::string::npos ? "" : native_path.substr(0, slash + 1);
  const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
  std::vector<std::string> stale;
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) return stale;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() <= start.size() || name.compare(0, start.size(), start) != 0) continue;
    struct stat status {};
    const std::string path = prefix + name;
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < before) {
      stale.push_back(path);
    }
  }
  ::closedir(listing);
  return stale;
}

std::optional<FileFailure> RenameOver(const std::string& from, const std::string& to) {
  // rename replaces an existing `to` in one step.
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  const int error = errno;
  return FileFailure{std::strerror(error), TroubleOfError(error)};
}

}  // namespace platform
