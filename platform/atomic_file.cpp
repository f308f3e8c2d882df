#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/upper_case.h"

namespace platform {
namespace {

// The bytes read from the file at one go.
constexpr std::size_t kChunk = std::size_t{64} * 1024;

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

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether `name` is a new file TemporarySuffix names beside `target`: the
// target's name (in any case, as Windows finds it), ".new", digits, "-",
// digits, and nothing more.
bool IsNewFileOf(std::string_view target, std::string_view name) {
  if (name.size() <= target.size() ||
      UpperCase(name.substr(0, target.size())) != UpperCase(target)) {
    return false;
  }
  std::string_view suffix = name.substr(target.size());
  if (!suffix.starts_with(kTemporaryStart)) return false;
  suffix.remove_prefix(kTemporaryStart.size());
  const std::size_t dash = suffix.find('-');
  if (dash == std::string_view::npos) return false;
  const std::string_view process = suffix.substr(0, dash);
  const std::string_view count = suffix.substr(dash + 1);
  const auto digits = [](std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
  };
  return digits(process) && digits(count);
}

std::string ErrorText(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

FileFailure ReadFailure(const std::string& path, int error) {
  return {"cannot read " + path + ": " + ErrorText(error), TroubleOfError(error)};
}

}  // namespace

std::string_view WordsOf(FileTrouble trouble) {
  switch (trouble) {
    case FileTrouble::kAccessDenied:
      return "access denied";
    case FileTrouble::kLocked:
      return "locked by another program";
    case FileTrouble::kReadOnly:
      return "read-only";
    case FileTrouble::kDirectory:
      return "a directory";
    case FileTrouble::kNotRegularFile:
      return "not a regular file";
    case FileTrouble::kDiskFull:
      return "disk full";
    case FileTrouble::kNoDrive:
      return "no such drive";
    case FileTrouble::kNoDirectory:
      return "directory missing";
    case FileTrouble::kChanging:
      return "changed by another poll";
    case FileTrouble::kOther:
      break;
  }
  return "system error";
}

FileTrouble TroubleOfError(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return FileTrouble::kAccessDenied;
    case EBUSY:
      return FileTrouble::kLocked;
    case EROFS:
      return FileTrouble::kReadOnly;
    case EISDIR:
      return FileTrouble::kDirectory;
    case ENOSPC:
      return FileTrouble::kDiskFull;
    case ENOENT:
    case ENOTDIR:
      return FileTrouble::kNoDirectory;
    default:
      return FileTrouble::kOther;
  }
}

bool FileTail::Read(const std::function<void(std::string_view chunk)>& each) const {
  if (!file_) return true;
  if (std::fsetpos(file_.get(), &start_) != 0) return false;
  std::vector<char> chunk(kChunk);
  for (std::size_t left = limit_; left > 0;) {
    const std::size_t got = std::fread(chunk.data(), 1, std::min(left, chunk.size()), file_.get());
    if (got == 0) break;
    each(std::string_view(chunk.data(), got));
    left -= got;
  }
  return std::ferror(file_.get()) == 0;
}

std::variant<FileTail, FileFailure> OpenFileTail(std::string_view windows_path, std::size_t limit) {
  const std::string path(windows_path);
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return FileTail{};  // on no drive of this system: no such file
  switch (KindOfNativeFile(*native)) {
    case NativeFileKind::kMissing:
      return FileTail{};
    case NativeFileKind::kDirectory:
      return FileFailure{path + " is a directory", FileTrouble::kDirectory};
    case NativeFileKind::kOther:
      return FileFailure{path + " is not a regular file", FileTrouble::kNotRegularFile};
    case NativeFileKind::kFile:
    case NativeFileKind::kReadOnlyFile:
      break;
  }
  errno = 0;
  UniqueFile file = OpenNativeReplaceable(*native);
  if (!file) {
    const int open_error = errno;
    // Removed since it was looked at: then there is none.
    if (KindOfNativeFile(*native) == NativeFileKind::kMissing) return FileTail{};
    return FileFailure{"cannot open " + path + ": " + ErrorText(open_error),
                       TroubleOfError(open_error)};
  }

  FileTail tail;
  tail.limit_ = limit;
  // Only a file longer than the limit lets the position go that far back
  // from its end; the byte before the limit's last bytes tells whether the
  // first line there is whole.
  if (SeekBeforeEnd(file.get(), std::uint64_t{limit} + 1)) {
    tail.cut_ = true;
    for (std::size_t looked = 0; looked <= limit; ++looked) {
      const int c = std::fgetc(file.get());
      if (c == EOF || c == '\n') break;
    }
  } else {
    std::clearerr(file.get());
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return ReadFailure(path, errno);
  }
  if (std::ferror(file.get()) != 0 || std::fgetpos(file.get(), &tail.start_) != 0) {
    return ReadFailure(path, errno);
  }
  tail.file_ = std::move(file);
  return tail;
}

std::optional<FileFailure> ReplaceFile(std::string_view windows_path, std::string_view content) {
  return ReplaceFileWith(windows_path, [content](std::FILE* file) -> std::optional<FileFailure> {
    (void)std::fwrite(content.data(), 1, content.size(), file);
    return std::nullopt;
  });
}

std::optional<FileFailure> ReplaceFileWith(std::string_view windows_path,
                                           const ContentWriter& write) {
  const std::string path(windows_path);
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return FileFailure{path + " lies on no drive of this system", FileTrouble::kNoDrive};
  switch (KindOfNativeFile(*native)) {
    case NativeFileKind::kDirectory:
      return FileFailure{path + " is a directory", FileTrouble::kDirectory};
    case NativeFileKind::kReadOnlyFile:
      return FileFailure{path + " is read-only", FileTrouble::kReadOnly};
    case NativeFileKind::kOther:
      return FileFailure{path + " is not a regular file", FileTrouble::kNotRegularFile};
    case NativeFileKind::kMissing:
    case NativeFileKind::kFile:
      break;
  }

  // Beside the target, so that the rename stays within one file system.
  const std::string suffix = TemporarySuffix();
  const std::string temporary = *native + suffix;
  errno = 0;
  UniqueFile file(std::fopen(temporary.c_str(), "wb"));
  if (!file) {
    const int error = errno;
    return FileFailure{"cannot create " + path + suffix + ": " + ErrorText(error),
                       TroubleOfError(error)};
  }
  if (std::optional<FileFailure> not_had = write(file.get())) {
    file.reset();
    (void)std::remove(temporary.c_str());
    return not_had;
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
    return FileFailure{"cannot write " + path + suffix + ": " + ErrorText(error),
                       TroubleOfError(error)};
  }
  if (std::optional<FileFailure> not_renamed = RenameOver(temporary, *native)) {
    (void)std::remove(temporary.c_str());
    return FileFailure{"cannot replace " + path + ": " + not_renamed->reason, not_renamed->trouble};
  }
  ForgetDirectoryIndex();
  return std::nullopt;
}

void RemoveLeftNewFiles(std::string_view windows_path) {
  const std::optional<std::string> native = ToNativePath(windows_path);
  if (!native) return;
  for (const std::string& stale : StaleNativeFiles(*native, kTemporaryStart, kStaleAfter)) {
    if (IsNewFileOf(*native, stale)) (void)std::remove(stale.c_str());
  }
}

}  // namespace platform
