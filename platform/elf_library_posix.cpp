#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <optional>

#include "platform/elf_library.h"

namespace platform {
namespace {

// The parts of an ELF64 file (System V ABI, x86-64 supplement) this reads.
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kProgramHeaderSize = 56;
constexpr std::size_t kDynamicEntrySize = 16;
constexpr unsigned char kClass64 = 2;
constexpr unsigned char kLittleEndian = 1;
constexpr std::uint16_t kMachineX86_64 = 62;
constexpr std::uint32_t kLoadSegment = 1;
constexpr std::uint32_t kDynamicSegment = 2;
constexpr std::uint64_t kNeeded = 1;
constexpr std::uint64_t kStringTable = 5;
// Bounds no genuine library comes near; a damaged file stops there.
constexpr std::uint16_t kMostProgramHeaders = 512;
constexpr std::uint64_t kMostDynamicEntries = 4096;
constexpr std::size_t kLongestName = 4096;

class FileReader {
 public:
  explicit FileReader(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~FileReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  // Exactly `size` bytes at `offset`; nothing when the file is shorter.
  std::optional<std::string> Read(std::uint64_t offset, std::size_t size) const {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
      const ssize_t got =
          ::pread(fd_, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
      if (got <= 0) return std::nullopt;
      done += static_cast<std::size_t>(got);
    }
    return bytes;
  }

 private:
  int fd_;
};

// Little-endian unsigned integers of `width` bytes at `at`.
std::uint64_t Unsigned(const std::string& bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i > 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i - 1]);
  }
  return value;
}

struct Segment {
  std::uint64_t offset;
  std::uint64_t address;
  std::uint64_t file_size;
};

// The file offset of the virtual address `address`, as the load segments
// map it.
std::optional<std::uint64_t> FileOffsetOf(const std::vector<Segment>& loads,
                                          std::uint64_t address) {
  for (const Segment& load : loads) {
    if (address >= load.address && address - load.address < load.file_size) {
      return load.offset + (address - load.address);
    }
  }
  return std::nullopt;
}

// The terminated name at `offset`; nothing without a terminator in reach.
std::optional<std::string> NameAt(const FileReader& file, std::uint64_t offset) {
  std::string name;
  constexpr std::size_t kChunk = 64;
  while (name.size() < kLongestName) {
    std::optional<std::string> chunk = file.Read(offset + name.size(), kChunk);
    if (!chunk) chunk = file.Read(offset + name.size(), 1);
    if (!chunk) return std::nullopt;
    const std::size_t end = chunk->find('\0');
    if (end != std::string::npos) return name.append(*chunk, 0, end);
    name += *chunk;
  }
  return std::nullopt;
}

std::vector<std::string> NeededNames(const FileReader& file, const std::string& header) {
  const std::uint64_t table = Unsigned(header, 32, 8);
  const auto entry_size = static_cast<std::size_t>(Unsigned(header, 54, 2));
  const auto count = static_cast<std::uint16_t>(Unsigned(header, 56, 2));
  if (entry_size < kProgramHeaderSize || count > kMostProgramHeaders) return {};
  std::vector<Segment> loads;
  std::optional<Segment> dynamic;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::optional<std::string> entry =
        file.Read(table + std::uint64_t{i} * entry_size, kProgramHeaderSize);
    if (!entry) return {};
    const Segment segment{Unsigned(*entry, 8, 8), Unsigned(*entry, 16, 8), Unsigned(*entry, 32, 8)};
    const auto type = static_cast<std::uint32_t>(Unsigned(*entry, 0, 4));
    if (type == kLoadSegment) loads.push_back(segment);
    if (type == kDynamicSegment) dynamic = segment;
  }
  if (!dynamic) return {};
  std::optional<std::uint64_t> strings;
  std::vector<std::uint64_t> needed;
  const std::uint64_t entries = dynamic->file_size / kDynamicEntrySize;
  for (std::uint64_t i = 0; i < entries && i < kMostDynamicEntries; ++i) {
    const std::optional<std::string> entry =
        file.Read(dynamic->offset + i * kDynamicEntrySize, kDynamicEntrySize);
    if (!entry) return {};
    const std::uint64_t tag = Unsigned(*entry, 0, 8);
    const std::uint64_t value = Unsigned(*entry, 8, 8);
    if (tag == 0) break;
    if (tag == kNeeded) needed.push_back(value);
    if (tag == kStringTable) strings = FileOffsetOf(loads, value);
  }
  if (!strings) return {};
  std::vector<std::string> names;
  for (const std::uint64_t at : needed) {
    if (at > UINT64_MAX - *strings) return {};
    std::optional<std::string> name = NameAt(file, *strings + at);
    if (!name) return {};
    names.push_back(std::move(*name));
  }
  return names;
}

}  // namespace

ElfLibrary ReadElfLibrary(const std::string& native_path) {
  const FileReader file(native_path);
  if (!file.IsOpen()) return {};
  const std::optional<std::string> header = file.Read(0, kHeaderSize);
  if (!header) return {.kind = ElfLibrary::Kind::kOther, .needed = {}};
  const bool elf = header->compare(0, 4,
                                   "\x7f"
                                   "ELF") == 0;
  if (!elf || static_cast<unsigned char>((*header)[4]) != kClass64 ||
      static_cast<unsigned char>((*header)[5]) != kLittleEndian ||
      Unsigned(*header, 18, 2) != kMachineX86_64) {
    return {.kind = ElfLibrary::Kind::kOther, .needed = {}};
  }
  return {.kind = ElfLibrary::Kind::kX86_64, .needed = NeededNames(file, *header)};
}

}  // namespace platform
