#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "platform/scratch_directory.h"

namespace platform {
namespace {

void RemoveTree(const std::string& directory, int levels) {
  if (DIR* listing = opendir(directory.c_str())) {
    while (const dirent* entry = readdir(listing)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      std::string path = directory;
      path.append("/").append(name);
      struct stat status {};
      if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        if (levels > 0) RemoveTree(path, levels - 1);
      } else {
        unlink(path.c_str());
      }
    }
    closedir(listing);
  }
  rmdir(directory.c_str());
}

constexpr std::string_view kPrefix = "brackwater.";
// Longer than the longest deadline a run may have.
constexpr time_t kLeftBehindAfter = time_t{2} * 3600;  // seconds

void RemoveLeftBehind() {
  DIR* listing = opendir(".");
  if (listing == nullptr) return;
  const time_t now = time(nullptr);
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    struct stat status {};
    if (name.starts_with(kPrefix) && lstat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        now - status.st_mtime > kLeftBehindAfter) {
      RemoveTree(name, 2);
    }
  }
  closedir(listing);
}

}  // namespace

std::optional<ScratchDirectory> ScratchDirectory::Create() {
  RemoveLeftBehind();
  std::string pattern = std::string(kPrefix) + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return std::nullopt;
  return ScratchDirectory(pattern + "/");
}

ScratchDirectory::ScratchDirectory(ScratchDirectory&& other) noexcept
    : path_(std::exchange(other.path_, std::string())) {}

ScratchDirectory::~ScratchDirectory() {
  if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 1), 2);
}

std::optional<std::string> ScratchDirectory::MakeSubdirectory(const std::string& name) const {
  const std::string path = path_ + name;
  if (mkdir(path.c_str(), 0700) != 0) return std::nullopt;
  return path + "/";
}

}  // namespace platform
