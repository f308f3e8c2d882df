#include "platform/installation_file.h"

#include <cstdio>
#include <memory>

#include "platform/files.h"
#include "platform/line_reader.h"
#include "platform/native_path.h"

namespace platform {
namespace {

// A setting is one short keyword; longer lines are cut like any other.
constexpr std::size_t kSettingLineLimit = 255;

}  // namespace

std::optional<std::string> FirstLineBesideExecutable(std::string_view file_name) {
  std::string directory = ExecutableDirectory();
  if (directory.empty()) return std::nullopt;
  const std::string path = directory + std::string(file_name);
  // The executable's directory is a native path already.
  LineReader file(IsRegularFile(path) ? UniqueFile(std::fopen(path.c_str(), "rb")) : nullptr,
                  kSettingLineLimit);
  if (!file.IsOpen()) return std::nullopt;
  std::string line;
  file.Next(line);
  return line;
}

}  // namespace platform
