#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/files.h"
#include "platform/native_path.h"

namespace platform {
namespace {

// The bytes read from the file at one go.
constexpr std::size_t kChunk = std::size_t{64} * 1024;

// Appends up to `count` bytes of `file` to `text`, fewer at its end; false
// when reading fails.
bool ReadUpTo(std::FILE* file, std::size_t count, std::string& text) {
  while (count > 0) {
    const std::size_t wanted = std::min(count, kChunk);
    const std::size_t before = text.size();
    text.resize(before + wanted);
    const std::size_t got = std::fread(text.data() + before, 1, wanted, file);
    text.resize(before + got);
    if (got < wanted) return std::ferror(file) == 0;
    count -= got;
  }
  return true;
}

constexpr std::string_view kTemporaryStart = ".new";
// A replacement takes moments; a new file this old was left by a process
// that ended while it wrote.
constexpr std::chrono::seconds kStaleAfter = std::chrono::hours{1};

// The new file's name beside the target: unique across processes by the
// process id and within one by the count.
std::string TemporarySuffix() {
  static std::atomic<unsigned> count{0};
  return std::string(kTemporaryStart) + ProcessIdText() + "-" + std::to_string(count++);
}

std::string ErrorText(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

}  // namespace

std::variant<FileEnd, FileFailure> ReadFileEnd(std::string_view windows_path, std::size_t limit) {
  const std::string path(windows_path);
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return FileEnd{};  // on no drive of this system: no such file
  errno = 0;
  const UniqueFile file = OpenForReading(windows_path);
  const int open_error = errno;
  if (!file) {
    switch (KindOfNativeFile(*native)) {
      case NativeFileKind::kMissing:
        return FileEnd{};
      case NativeFileKind::kDirectory:
        return FileFailure{path + " is a directory"};
      case NativeFileKind::kOther:
        return FileFailure{path + " is not a regular file"};
      case NativeFileKind::kFile:
      case NativeFileKind::kReadOnlyFile:
        break;
    }
    return FileFailure{"cannot open " + path + ": " + ErrorText(open_error)};
  }

  FileEnd end;
  // Only a file longer than the limit lets the position go that far back
  // from its end; the byte before the limit's last bytes tells whether the
  // first line there is whole.
  const bool seekable = limit < static_cast<std::size_t>(std::numeric_limits<long>::max());
  if (seekable && std::fseek(file.get(), -static_cast<long>(limit) - 1, SEEK_END) == 0) {
    if (!ReadUpTo(file.get(), limit + 1, end.text)) {
      return FileFailure{"cannot read " + path + ": " + ErrorText(errno)};
    }
    const std::size_t first_end = end.text.find('\n');
    end.text.erase(0, first_end == std::string::npos ? end.text.size() : first_end + 1);
    end.cut = true;
    return end;
  }
  std::clearerr(file.get());
  if (std::fseek(file.get(), 0, SEEK_SET) != 0 ||
      !ReadUpTo(file.get(), limit == std::numeric_limits<std::size_t>::max() ? limit : limit + 1,
                end.text)) {
    return FileFailure{"cannot read " + path + ": " + ErrorText(errno)};
  }
  if (end.text.size() > limit) {
    // The end could not be reached by seeking (a file beyond what a long
    // counts): its first whole lines instead.
    end.text.resize(limit);
    const std::size_t last_end = end.text.rfind('\n');
    end.text.resize(last_end == std::string::npos ? 0 : last_end + 1);
    end.cut = true;
  }
  return end;
}

std::optional<FileFailure> ReplaceFile(std::string_view windows_path, std::string_view content) {
  return ReplaceFileWith(windows_path, [content](std::FILE* file) -> std::optional<std::string> {
    (void)std::fwrite(content.data(), 1, content.size(), file);
    return std::nullopt;
  });
}

std::optional<FileFailure> ReplaceFileWith(std::string_view windows_path,
                                           const ContentWriter& write) {
  const std::string path(windows_path);
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return FileFailure{path + " lies on no drive of this system"};
  switch (KindOfNativeFile(*native)) {
    case NativeFileKind::kDirectory:
      return FileFailure{path + " is a directory"};
    case NativeFileKind::kReadOnlyFile:
      return FileFailure{path + " is read-only"};
    case NativeFileKind::kOther:
      return FileFailure{path + " is not a regular file"};
    case NativeFileKind::kMissing:
    case NativeFileKind::kFile:
      break;
  }

  // Beside the target, so that the rename stays within one file system.
  const std::string suffix = TemporarySuffix();
  const std::string temporary = *native + suffix;
  errno = 0;
  UniqueFile file(std::fopen(temporary.c_str(), "wb"));
  if (!file) return FileFailure{"cannot create " + path + suffix + ": " + ErrorText(errno)};
  if (std::optional<std::string> not_had = write(file.get())) {
    file.reset();
    (void)std::remove(temporary.c_str());
    return FileFailure{std::move(*not_had)};
  }
  bool written =
      std::ferror(file.get()) == 0 && std::fflush(file.get()) == 0 && SyncToDisk(file.get());
  int error = errno;
  if (std::fclose(file.release()) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    (void)std::remove(temporary.c_str());
    return FileFailure{"cannot write " + path + suffix + ": " + ErrorText(error)};
  }
  if (std::optional<std::string> reason = RenameOver(temporary, *native)) {
    (void)std::remove(temporary.c_str());
    return FileFailure{"cannot replace " + path + ": " + *reason};
  }
  ForgetDirectoryIndex();
  return std::nullopt;
}

void RemoveLeftNewFiles(std::string_view windows_path) {
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return;
  for (const std::string& stale : StaleNativeFiles(*native, kTemporaryStart, kStaleAfter)) {
    (void)std::remove(stale.c_str());
  }
}

}  // namespace platform
