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

class NativeFile {
 public:
  explicit NativeFile(const std::string& path) {
    if (IsRegularFile(path)) file_.reset(std::fopen(path.c_str(), "rb"));
  }
  bool IsOpen() const { return file_ != nullptr; }
  int Get() { return std::getc(file_.get()); }
  void Unget(int c) {
    // One character pushed back after a read always fits the stream.
    if (c != EOF) (void)std::ungetc(c, file_.get());
  }

 private:
  UniqueFile file_;
};

}  // namespace

std::optional<std::string> FirstLineBesideExecutable(std::string_view file_name) {
  std::string directory = ExecutableDirectory();
  if (directory.empty()) return std::nullopt;
  NativeFile file(directory + std::string(file_name));
  if (!file.IsOpen()) return std::nullopt;
  std::string line;
  TakeLine(file, kSettingLineLimit, line);
  return line;
}

}  // namespace platform
