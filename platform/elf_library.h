// What the Linux program reads of a shared library before it asks the
// dynamic loader for it: whether the file is one the program can load at
// all (the loader's own messages do not always say why it refuses a file),
// and which libraries it names as needed, so that those lying beside it can
// be loaded first.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct ElfLibrary {
  enum class Kind {
    kUnreadable,  // cannot be opened or read: the loader will say why
    kOther,       // no 64-bit little-endian x86-64 ELF file
    kX86_64,
  };
  Kind kind = Kind::kUnreadable;
  // The DT_NEEDED names of its dynamic section, in order; empty for a file
  // that is not kX86_64 or whose dynamic section cannot be read.
  std::vector<std::string> needed;
};

// Reads the ELF header and the dynamic section of the file at
// `native_path`. Any file, however damaged, yields a value.
ElfLibrary ReadElfLibrary(const std::string& native_path);

}  // namespace platform
