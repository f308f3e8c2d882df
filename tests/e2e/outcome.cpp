#include "tests/e2e/scenario.h"

#include <algorithm>

#include "tests/e2e/windows_path.h"

namespace e2e {

std::optional<std::string> Outcome::ReadFile(std::string_view windows_path) const {
  std::string wanted = ResolveWindowsPath(windows_path, working_directory).ToString();
  auto found = std::find_if(files_after.begin(), files_after.end(),
                            [&](const auto& file) { return SameWindowsPath(file.first, wanted); });
  if (found == files_after.end()) return std::nullopt;
  return found->second;
}

bool Outcome::Exists(std::string_view windows_path) const {
  return ReadFile(windows_path).has_value();
}

}  // namespace e2e
