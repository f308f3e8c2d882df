// A directory of the process's own in the working directory, for files that
// no one else reads and that must not outlast the run. Named relative to the
// working directory, so that the sensor's file functions (which map Windows
// paths where the sensor runs natively elsewhere) and a library's own file
// calls find the same files.
#pragma once

#include <optional>
#include <string>

namespace platform {

class ScratchDirectory {
 public:
  // A new, empty directory; nothing when none can be made. Directories of
  // this kind that a process left behind more than two hours ago (one ended
  // from outside before it could remove its own) are removed first.
  static std::optional<ScratchDirectory> Create();

  ScratchDirectory(ScratchDirectory&& other) noexcept;
  ScratchDirectory& operator=(ScratchDirectory&&) = delete;
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  // Removes the directory with what it holds, down to two levels.
  ~ScratchDirectory();

  // The directory's path, relative to the working directory, ending in a
  // separator.
  const std::string& path() const { return path_; }
  // Makes the directory `name` in it; its path ending in a separator, or
  // nothing.
  std::optional<std::string> MakeSubdirectory(const std::string& name) const;

 private:
  explicit ScratchDirectory(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace platform
