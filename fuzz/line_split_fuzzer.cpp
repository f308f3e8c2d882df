// Line splitting with any limit, in memory and from a file, which must cut
// the same lines.
//
// Input: the limit as two bytes, little-endian (from 0xFF00 on they stand
// for the largest numbers a size_t holds), then the text.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "fuzz/support/scratch_layout.h"
#include "platform/line_reader.h"

namespace {

const std::filesystem::path& ScratchDirectory() {
  static const std::filesystem::path directory = fuzz::MakeScratchDirectory();
  return directory;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ScratchDirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint16_t number = input.TakeNumber16();
  const std::size_t limit =
      number < 0xFF00 ? number : std::numeric_limits<std::size_t>::max() - (number & 0xFF);
  const std::string_view text = input.rest();

  const std::vector<std::string> lines = platform::SplitLines(text, limit);
  std::size_t characters = 0;
  for (const std::string& line : lines) {
    fuzz::Require(line.size() <= limit, "a line has at most the limit's characters");
    fuzz::Require(line.find('\n') == std::string::npos, "a line holds no line feed");
    fuzz::Require(line.find('\0') == std::string::npos, "a line stops at a NUL");
    characters += line.size();
  }
  fuzz::Require(characters <= text.size(), "the lines hold no more than the text");
  fuzz::Require(lines.size() <= text.size(), "every line takes at least one byte of the text");

  // Read by a relative name: the reader takes Windows paths.
  fuzz::InDirectory scratch(ScratchDirectory());
  fuzz::WriteFile(ScratchDirectory() / "lines.txt", text);
  platform::LineReader reader("lines.txt", limit);
  std::vector<std::string> read;
  for (std::string line; reader.Next(line);) read.push_back(line);
  fuzz::Require(read == lines, "a file splits as its text does");
  return 0;
}
