// The drives of one scenario as directories on this host: placing the
// scenario's files, taking snapshots of what lies there, and (for a drive
// shared with later scenarios) putting it back as it was.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/windows_path.h"

namespace e2e {

// The bytes of a host file, read in one piece (programs and libraries
// are tens of megabytes in the sanitizer build); throws when it cannot
// be read.
std::string ReadHostFile(const std::filesystem::path& path);

struct DriveRoot {
  std::filesystem::path host_directory;
  // Top-level entries that belong to someone else (the folders a Wine prefix
  // keeps on C:). Snapshots leave them out, except what the scenario placed
  // inside them, and they are never removed.
  std::set<std::string> foreign_entries;
  // The drive lives on after the scenario (Wine's C:): whatever the
  // scenario and the sensor left there is removed when the layout ends.
  bool outlives_scenario = false;
};

// Every regular file on the scenario's drives, by absolute Windows path (in
// the spelling found on disk), with its content.
using FileTree = std::map<std::string, std::string>;

class DriveLayout {
 public:
  explicit DriveLayout(std::map<char, DriveRoot> drives);
  // Clears the drives that outlive the scenario.
  ~DriveLayout();
  DriveLayout(const DriveLayout&) = delete;
  DriveLayout& operator=(const DriveLayout&) = delete;

  // Creates the directory and its missing parents, recording the first one
  // it creates inside a foreign entry.
  void CreateDirectory(const WindowsLocation& directory);
  // Writes `content` byte for byte, creating missing parent directories.
  // Refuses (std::invalid_argument) to overwrite a foreign file.
  void WriteFile(const WindowsLocation& file, std::string_view content);

  // Where the location lies on this host. Throws std::invalid_argument for
  // a drive that is not part of the layout.
  std::filesystem::path HostPath(const WindowsLocation& location) const;

  FileTree Snapshot() const;

 private:
  const DriveRoot& Drive(char letter) const;
  // Records `location`, inside a foreign entry, as placed by the scenario,
  // so that snapshots see it and cleanup removes it.
  void NoteForeignPlacement(const WindowsLocation& location);
  // Whether `location` lies in (or is) something the scenario placed inside
  // a foreign entry.
  bool IsForeignPlacement(const WindowsLocation& location) const;
  void SnapshotTree(char drive, const std::filesystem::path& directory, bool skip_foreign,
                    FileTree& tree) const;
  void Clear(char drive, const DriveRoot& root) const noexcept;

  std::map<char, DriveRoot> drives_;
  // What the scenario put inside foreign entries: the outermost directory
  // or file it created there.
  std::vector<WindowsLocation> foreign_placements_;
};

}  // namespace e2e
