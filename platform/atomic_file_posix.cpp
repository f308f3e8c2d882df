#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

bool SyncToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

std::optional<std::string> RenameOver(const std::string& from, const std::string& to) {
  // rename replaces an existing `to` in one step.
  if (std::rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
  return std::string(std::strerror(errno));
}

}  // namespace platform
