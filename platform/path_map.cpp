// The mapping of Windows paths onto a POSIX file system, used by the native
// build so that the same scenarios run on Linux as under Windows.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/native_path.h"
#include "platform/upper_case.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The drive letter whose directory holds `working_directory`, else 'C'.
char CurrentDrive(const std::string& drives_root, const std::string& working_directory) {
  std::error_code ec;
  fs::path root = fs::weakly_canonical(drives_root, ec);
  fs::path cwd = fs::weakly_canonical(working_directory, ec);
  auto rel = cwd.lexically_relative(root);
  if (!rel.empty() && rel.native()[0] != '.') {
    std::string first = rel.begin()->string();
    if (first.size() == 1 && std::isalpha(static_cast<unsigned char>(first[0]))) {
      return static_cast<char>(std::toupper(static_cast<unsigned char>(first[0])));
    }
  }
  return 'C';
}

// The names of a directory by their upper-case form, the first spelling of
// each kept. A listing run looks up a missing file beside thousands of
// profiles once per system: the directory is read once, not every time.
// Files this process creates or removes drop the index (see
// ForgetDirectoryIndex); files others create while the sensor runs may be
// found only in their exact spelling.
class DirectoryIndex {
 public:
  std::optional<std::string> Find(const std::string& directory, const std::string& component) {
    auto [entry, fresh] = indexes_.try_emplace(directory);
    if (fresh) {
      std::error_code ec;
      for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        entry->second.try_emplace(UpperCase(name), name);
      }
    }
    auto found = entry->second.find(UpperCase(component));
    if (found == entry->second.end()) return std::nullopt;
    return found->second;
  }
  void Clear() { indexes_.clear(); }

 private:
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> indexes_;
};

DirectoryIndex& Index() {
  static DirectoryIndex index;
  return index;
}

// Appends `component` to `base`, taking the spelling that exists when only a
// spelling differing in case does.
std::string AppendComponent(const std::string& base, const std::string& component) {
  const std::string lead = base.empty() ? "" : (base.back() == '/' ? base : base + "/");
  std::string exact = lead + component;
  std::error_code ec;
  if (component == "." || component == ".." || fs::exists(exact, ec)) {
    return exact;
  }
  if (std::optional<std::string> name = Index().Find(base.empty() ? "." : base, component)) {
    return lead + *name;
  }
  return exact;
}

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

}  // namespace

void ForgetDirectoryIndex() { Index().Clear(); }

std::string NativeToWindowsPath(const std::string& native_path, const std::string& drives_root) {
  if (drives_root.empty() || native_path.empty()) return native_path;
  std::error_code ec;
  const fs::path root = fs::weakly_canonical(drives_root, ec);
  if (ec) return native_path;
  const fs::path relative = fs::path(native_path).lexically_relative(root);
  if (relative.empty() || relative.native()[0] == '.') return native_path;
  auto part = relative.begin();
  const std::string letter = part->string();
  if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0]))) {
    return native_path;
  }
  std::string windows = letter + ":";
  for (++part; part != relative.end(); ++part) windows += "\\" + part->string();
  // A directory keeps its trailing separator.
  if (native_path.back() == '/' && windows.back() != '\\') windows += '\\';
  return windows;
}

std::optional<std::string> MapWindowsPath(std::string_view windows_path,
                                          const std::string& drives_root,
                                          const std::string& working_directory) {
  std::string base;
  std::string_view rest = windows_path;
  bool has_drive =
      rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]));
  if (has_drive) {
    if (drives_root.empty()) {
      return std::nullopt;
    }
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    base = AppendComponent(drives_root, std::string(1, letter));
    rest.remove_prefix(2);
  } else if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
    if (drives_root.empty()) {
      base = "/";
    } else {
      base = AppendComponent(drives_root,
                             std::string(1, CurrentDrive(drives_root, working_directory)));
    }
  }
  if (rest.empty() && !has_drive) {
    return std::string();
  }
  for (const std::string& component : Components(rest)) {
    base = AppendComponent(base, component);
  }
  if (base.empty()) {
    base = ".";
  }
  return base;
}

}  // namespace platform
