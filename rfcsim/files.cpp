#include "rfcsim/files.h"

#include <fstream>
#include <iterator>

namespace rfcsim {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool AppendToFile(const std::string& path, std::string_view text) {
  // Text mode: line ends become the platform's own, as in the real
  // library's files.
  std::ofstream file(path, std::ios::app);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(file);
}

}  // namespace rfcsim
