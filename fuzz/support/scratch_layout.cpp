#include "fuzz/support/scratch_layout.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "fuzz/support/check.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

// Every directory this process made; removed by the exit handler.
std::vector<fs::path>& MadeDirectories() {
  static std::vector<fs::path> made;
  return made;
}

void RemoveMadeDirectories() {
  for (const fs::path& directory : MadeDirectories()) {
    std::error_code ignored;
    fs::remove_all(directory, ignored);
  }
}

// $TMPDIR when set; else memory (/dev/shm), where the system has it, as the
// targets write files for every input; else /tmp.
fs::path ScratchBase() {
  if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0') {
    return tmpdir;
  }
  if (::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return "/tmp";
}

}  // namespace

fs::path MakeScratchDirectory() {
  const fs::path base = ScratchBase();
  std::string pattern = (base / "brackwater-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) Broken("a scratch directory can be made");
  if (MadeDirectories().empty() && std::atexit(RemoveMadeDirectories) != 0) {
    Broken("scratch directories can be removed at exit");
  }
  MadeDirectories().push_back(pattern);
  return pattern;
}

void WriteFile(const fs::path& file, std::string_view content) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) Broken("a scratch file can be written");
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  if (std::fclose(out) != 0 || !written) Broken("a scratch file can be written");
}

InDirectory::InDirectory(const fs::path& directory) : previous_(fs::current_path()) {
  fs::current_path(directory);
}

InDirectory::~InDirectory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

}  // namespace fuzz
