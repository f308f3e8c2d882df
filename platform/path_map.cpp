// The mapping of Windows paths onto a POSIX file system, used by the native
// build so that the same scenarios run on Linux as under Windows.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/native_path.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

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

// Appends `component` to `base`, taking the spelling that exists when only a
// spelling differing in case does.
std::string AppendComponent(const std::string& base, const std::string& component) {
  std::string exact =
      base.empty() ? component : (base.back() == '/' ? base : base + "/") + component;
  std::error_code ec;
  if (component == "." || component == ".." || fs::exists(exact, ec)) {
    return exact;
  }
  fs::path dir = base.empty() ? fs::path(".") : fs::path(base);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (SameIgnoringCase(name, component)) {
      return base.empty() ? name : (base.back() == '/' ? base : base + "/") + name;
    }
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
