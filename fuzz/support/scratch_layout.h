// The files a fuzz target's sensor code finds: a private directory tree,
// made once per process and removed at its end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// A fresh directory "brackwater-fuzz-XXXXXX" in $TMPDIR, else in /dev/shm
// when it is writable, else in /tmp; removed with everything in it when the
// process exits normally. Aborts when it cannot be made: a target without its files would
// fuzz nothing.
std::filesystem::path MakeScratchDirectory();

// Writes `content` byte for byte, creating missing parent directories;
// aborts on failure.
void WriteFile(const std::filesystem::path& file, std::string_view content);

// Runs the code of one input in `directory`: the sensor resolves relative
// paths against the working directory, while libFuzzer keeps the corpus and
// artifact paths it was given relative to the one it started in.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& directory);
  ~InDirectory();
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace fuzz
