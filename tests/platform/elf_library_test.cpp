#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/elf_library.h"
#include "platform/installation_file.h"
#include "tests/support/scratch_dir.h"

namespace {

using platform::ElfLibrary;
using platform::ReadElfLibrary;

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return std::move(bytes).str();
}

std::string Written(const ScratchDir& scratch, const std::string& bytes) {
  const std::string path = scratch.path() + "/library.so";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

// The process tests' probe beside this program: a small x86-64 ELF file
// that needs the C library.
std::string Probe() { return platform::ExecutableDirectory() + "child_probe"; }

TEST(ReadElfLibrary, NamesWhatAnX86_64FileNeeds) {
  const ElfLibrary self = ReadElfLibrary(Probe());
  EXPECT_EQ(self.kind, ElfLibrary::Kind::kX86_64);
  EXPECT_THAT(self.needed, ::testing::Contains("libc.so.6"));
  EXPECT_EQ(ReadElfLibrary("/nonexistent/library.so").kind, ElfLibrary::Kind::kUnreadable);
}

// Cut short anywhere, or with the header's table offsets and counts
// overwritten, the file yields a value: no read beyond what was read, no
// endless loop (the sanitizer build checks the reads).
TEST(ReadElfLibrary, SurvivesDamagedFiles) {
  ScratchDir scratch;
  const std::string whole = ReadWhole(Probe());
  for (std::size_t step = 0; step < 192; ++step) {
    const std::size_t size = step < 64 ? step * 3 : whole.size() * (step - 64) / 128;
    const ElfLibrary cut = ReadElfLibrary(Written(scratch, whole.substr(0, size)));
    EXPECT_EQ(cut.kind, size < 64 ? ElfLibrary::Kind::kOther : ElfLibrary::Kind::kX86_64) << size;
  }
  // e_phoff (32, 8 bytes), e_phentsize (54) and e_phnum (56, 2 bytes each).
  for (const std::size_t at : {32u, 33u, 38u, 39u, 54u, 55u, 56u, 57u}) {
    for (const unsigned char value : {0x00, 0x01, 0x7f, 0xff}) {
      std::string damaged = whole;
      damaged[at] = static_cast<char>(value);
      const ElfLibrary read = ReadElfLibrary(Written(scratch, damaged));
      EXPECT_EQ(read.kind, ElfLibrary::Kind::kX86_64) << at;
    }
  }
  EXPECT_EQ(ReadElfLibrary(Written(scratch, "not an ELF file")).kind, ElfLibrary::Kind::kOther);
}

}  // namespace
