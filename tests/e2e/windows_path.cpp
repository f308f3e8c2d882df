#include "tests/e2e/windows_path.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace e2e {
namespace {

char UpperCase(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool HasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void AppendComponents(std::string_view path, std::vector<std::string>& components) {
  std::string current;
  auto take = [&] {
    if (current == "." || current == "..") {
      throw std::invalid_argument("scenario paths take no \".\" or \"..\": " + std::string(path));
    }
    if (!current.empty()) components.push_back(current);
    current.clear();
  };
  for (char c : path) {
    if (IsSeparator(c)) {
      take();
    } else {
      current.push_back(c);
    }
  }
  take();
}

}  // namespace

std::string WindowsLocation::ToString() const {
  std::string text{drive, ':', '\\'};
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (i > 0) text.push_back('\\');
    text.append(components[i]);
  }
  return text;
}

WindowsLocation ResolveWindowsPath(std::string_view path, std::string_view working_directory) {
  if (!HasDrive(working_directory)) {
    throw std::invalid_argument("a working directory needs a drive: " +
                                std::string(working_directory));
  }
  WindowsLocation location;
  if (HasDrive(path)) {
    location.drive = UpperCase(path[0]);
    path.remove_prefix(2);
  } else {
    location.drive = UpperCase(working_directory[0]);
    if (path.empty() || !IsSeparator(path[0])) {
      AppendComponents(working_directory.substr(2), location.components);
    }
  }
  AppendComponents(path, location.components);
  return location;
}

bool SameWindowsPath(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return UpperCase(x == '/' ? '\\' : x) == UpperCase(y == '/' ? '\\' : y);
  });
}

}  // namespace e2e
