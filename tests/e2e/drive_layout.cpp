#include "tests/e2e/drive_layout.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace e2e {

std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

namespace {

namespace fs = std::filesystem;

WindowsLocation Prefix(const WindowsLocation& location, std::size_t length) {
  WindowsLocation prefix{location.drive, {}};
  prefix.components.assign(location.components.begin(),
                           location.components.begin() + static_cast<std::ptrdiff_t>(length));
  return prefix;
}

bool IsPrefix(const WindowsLocation& prefix, const WindowsLocation& location) {
  return prefix.drive == location.drive && prefix.components.size() <= location.components.size() &&
         std::equal(prefix.components.begin(), prefix.components.end(),
                    location.components.begin());
}

}  // namespace

DriveLayout::DriveLayout(std::map<char, DriveRoot> drives) : drives_(std::move(drives)) {
  for (const auto& [letter, root] : drives_) fs::create_directories(root.host_directory);
}

DriveLayout::~DriveLayout() {
  for (const auto& [letter, root] : drives_) {
    if (root.outlives_scenario) Clear(letter, root);
  }
}

const DriveRoot& DriveLayout::Drive(char letter) const {
  auto found = drives_.find(letter);
  if (found == drives_.end()) {
    throw std::invalid_argument(std::string("drive ") + letter + ": is not part of the layout");
  }
  return found->second;
}

fs::path DriveLayout::HostPath(const WindowsLocation& location) const {
  fs::path path = Drive(location.drive).host_directory;
  for (const std::string& component : location.components) path /= component;
  return path;
}

void DriveLayout::WriteFile(const WindowsLocation& file, std::string_view content) {
  if (file.components.empty()) throw std::invalid_argument("a file needs a name");
  WindowsLocation parent = file;
  parent.components.pop_back();
  CreateDirectory(parent);
  fs::path host = HostPath(file);
  bool inside_foreign = Drive(file.drive).foreign_entries.contains(file.components.front());
  if (inside_foreign && !IsForeignPlacement(file)) {
    // A file of the foreign owner, or a foreign entry itself.
    if (fs::exists(host) || file.components.size() == 1) {
      throw std::invalid_argument("a scenario must not overwrite " + file.ToString());
    }
    NoteForeignPlacement(file);
  }
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + host.string());
}

void DriveLayout::CreateDirectory(const WindowsLocation& location) {
  const DriveRoot& root = Drive(location.drive);
  fs::path host = root.host_directory;
  for (std::size_t depth = 0; depth < location.components.size(); ++depth) {
    host /= location.components[depth];
    if (fs::is_directory(host)) continue;
    fs::create_directory(host);
    if (depth > 0 && root.foreign_entries.contains(location.components.front())) {
      NoteForeignPlacement(Prefix(location, depth + 1));
    }
  }
}

void DriveLayout::NoteForeignPlacement(const WindowsLocation& location) {
  if (!IsForeignPlacement(location)) foreign_placements_.push_back(location);
}

bool DriveLayout::IsForeignPlacement(const WindowsLocation& location) const {
  return std::any_of(foreign_placements_.begin(), foreign_placements_.end(),
                     [&](const WindowsLocation& placed) { return IsPrefix(placed, location); });
}

FileTree DriveLayout::Snapshot() const {
  FileTree tree;
  for (const auto& [letter, root] : drives_) {
    SnapshotTree(letter, root.host_directory, true, tree);
  }
  for (const WindowsLocation& placed : foreign_placements_) {
    fs::path host = HostPath(placed);
    fs::file_status status = fs::symlink_status(host);
    if (fs::is_directory(status)) {
      SnapshotTree(placed.drive, host, false, tree);
    } else if (fs::is_regular_file(status)) {
      tree[placed.ToString()] = ReadHostFile(host);
    }
  }
  return tree;
}

void DriveLayout::SnapshotTree(char drive, const fs::path& directory, bool skip_foreign,
                               FileTree& tree) const {
  const DriveRoot& root = Drive(drive);
  for (auto entry = fs::recursive_directory_iterator(directory);
       entry != fs::recursive_directory_iterator(); ++entry) {
    fs::path relative = entry->path().lexically_relative(root.host_directory);
    if (skip_foreign && entry.depth() == 0 &&
        root.foreign_entries.contains(relative.begin()->string())) {
      entry.disable_recursion_pending();
      continue;
    }
    if (!fs::is_regular_file(entry->symlink_status())) continue;
    WindowsLocation location{drive, {}};
    for (const fs::path& component : relative) location.components.push_back(component.string());
    tree[location.ToString()] = ReadHostFile(entry->path());
  }
}

void DriveLayout::Clear(char drive, const DriveRoot& root) const noexcept {
  std::error_code ignored;
  std::vector<fs::path> removed;
  for (fs::directory_iterator entry(root.host_directory, ignored), end; !ignored && entry != end;
       entry.increment(ignored)) {
    if (!root.foreign_entries.contains(entry->path().filename().string())) {
      removed.push_back(entry->path());
    }
  }
  for (const WindowsLocation& placed : foreign_placements_) {
    if (placed.drive != drive) continue;
    fs::path host = root.host_directory;
    for (const std::string& component : placed.components) host /= component;
    removed.push_back(host);
  }
  for (const fs::path& path : removed) fs::remove_all(path, ignored);
}

}  // namespace e2e
