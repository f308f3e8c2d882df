// Small files the sensor reads and rewrites whole on every poll. A rewrite
// never leaves the file half-written: the new content goes to a file of its
// own beside the target, which is then renamed over it, so that a reader
// (or a poll running at the same time) sees the old content or the new one,
// never a mixture. Paths are Windows paths, mapped as files.h maps them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/files.h"

namespace platform {

// What kept a file from being read or replaced, in kinds a monitor's
// one-line text can name.
enum class FileTrouble {
  kAccessDenied,
  kLocked,  // another program holds it open, sharing too little
  kReadOnly,
  kDirectory,
  kNotRegularFile,
  kDiskFull,
  kNoDrive,
  kNoDirectory,  // a directory on its path is missing
  kChanging,     // another process replaced it while it was read
  kOther,
};

// The trouble in a few words: "access denied", "locked by another program".
std::string_view WordsOf(FileTrouble trouble);

// The trouble behind a C library error number (errno).
FileTrouble TroubleOfError(int error);

// Why a file could not be read or replaced: in words for a trace line, and
// its kind.
struct FileFailure {
  std::string reason;
  FileTrouble trouble = FileTrouble::kOther;

  bool operator==(const FileFailure&) const = default;
};

// The last whole lines of a file within a limit, opened once and read as
// often as the reader needs: every reading sees the content as it was
// opened, even while another process replaces the file (on Windows the
// file is opened so that a replacement can go through meanwhile). No more
// than the limit is ever read, however large the file.
class FileTail {
 public:
  FileTail() = default;

  // Whether there is such a file; a missing one reads as empty text.
  bool exists() const { return file_ != nullptr; }
  // The file held more than the limit: the reading begins after the first
  // line end within its last `limit` bytes.
  bool cut() const { return cut_; }

  // Reads it from the start, handing `each` a chunk at a time; false when
  // reading fails.
  [[nodiscard]] bool Read(const std::function<void(std::string_view chunk)>& each) const;

 private:
  friend std::variant<FileTail, FileFailure> OpenFileTail(std::string_view, std::size_t);

  UniqueFile file_;
  std::fpos_t start_{};
  std::size_t limit_ = 0;
  bool cut_ = false;
};

// Opens `windows_path` as a FileTail of at most `limit` bytes. A missing
// file is a FileTail that does not exist; a directory or a file that
// cannot be opened or read is a failure.
[[nodiscard]] std::variant<FileTail, FileFailure> OpenFileTail(std::string_view windows_path,
                                                               std::size_t limit);

// Makes `windows_path` hold exactly `content`: writes it to a new file in
// the same directory under a name no other process or call uses (the
// target's name, ".new", the process id and a count), flushes it to the
// disk and renames it over the target. Nothing on success. A target that is
// a directory or read-only is refused; on any failure the target is left as
// it was and the new file is removed. Two processes replacing the same file
// at once each leave a whole file; the later rename wins. Never throws for
// a failure of the file system.
[[nodiscard]] std::optional<FileFailure> ReplaceFile(std::string_view windows_path,
                                                     std::string_view content);

// Writes the new content to the file it is given, which finds its own
// write errors; returns why the content could not be had, or nothing.
using ContentWriter = std::function<std::optional<FileFailure>(std::FILE* file)>;

// ReplaceFile for content made while it is written, so that it needs not
// be held whole: `write` may read the target, which stays as it was until
// `write` returns. When `write` names a reason the target is left as it
// was.
[[nodiscard]] std::optional<FileFailure> ReplaceFileWith(std::string_view windows_path,
                                                         const ContentWriter& write);

// Removes the new files of earlier replacements of `windows_path` that are
// an hour old: a process ended while it wrote left them. Younger ones may
// be another process's replacement under way and stay. Only names of the
// form these replacements write go (the target's name, ".new", the
// process id, "-", the count), never another file whose name begins alike.
void RemoveLeftNewFiles(std::string_view windows_path);

// The system's part of the above, one implementation per system; these
// take native paths.
enum class NativeFileKind { kMissing, kFile, kReadOnlyFile, kDirectory, kOther };
// What lies at `native_path`: kOther for what is neither a regular file nor
// a directory, and when the system cannot tell.
NativeFileKind KindOfNativeFile(const std::string& native_path);
// The id of this process in decimal.
std::string ProcessIdText();
// Opens an existing regular file for reading in binary, so that another
// process may rename a file over it or remove it meanwhile; null on failure,
// with errno set (EBUSY where another program holds it locked).
UniqueFile OpenNativeReplaceable(const std::string& native_path);
// Sets `file`'s position `count` bytes before its end; false where the
// file is shorter or the system cannot (the whole range of file sizes).
bool SeekBeforeEnd(std::FILE* file, std::uint64_t count);
// Makes what was written through `file` durable; false when that fails.
bool SyncToDisk(std::FILE* file);
// The files beside `native_path` whose names are its name followed by
// `suffix_start` and more, last written more than `age` ago.
std::vector<std::string> StaleNativeFiles(const std::string& native_path,
                                          std::string_view suffix_start, std::chrono::seconds age);
// Renames `from` over `to` in one step, replacing `to`; nothing on success,
// else the system's reason. Where `to` is held open by another process that
// keeps it from being replaced, the rename is tried again for a moment.
std::optional<FileFailure> RenameOver(const std::string& from, const std::string& to);

}  // namespace platform
