#include "rfcsim/files.h"

#include <cstdio>
#include <memory>

namespace rfcsim {
namespace {

// C stdio rather than file streams: a stream drags the whole C++ locale
// machinery into every program linked with rfcsim, and its start-up cost
// with it.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string text;
  char block[16384];
  while (const std::size_t got = std::fread(block, 1, sizeof block, file.get())) {
    text.append(block, got);
  }
  if (std::ferror(file.get())) return std::nullopt;
  return text;
}

bool AppendToFile(const std::string& path, std::string_view text) {
  // Text mode: line ends become the platform's own, as in the real
  // library's files.
  File file(std::fopen(path.c_str(), "a"));
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace rfcsim
