// Small files the sensor reads and rewrites whole on every poll. A rewrite
// never leaves the file half-written: the new content goes to a file of its
// own beside the target, which is then renamed over it, so that a reader
// (or a poll running at the same time) sees the old content or the new one,
// never a mixture. Paths are Windows paths, mapped as files.h maps them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

// Why a file could not be read or replaced, in words for a trace line.
struct FileFailure {
  std::string reason;

  bool operator==(const FileFailure&) const = default;
};

// The text of a file read up to a limit.
struct FileEnd {
  std::string text;
  // The file held more than the limit: `text` is then its last whole lines
  // within the limit (or, where the end cannot be reached, its first).
  bool cut = false;

  bool operator==(const FileEnd&) const = default;
};

// Reads `windows_path` in binary, at most `limit` bytes. A missing file
// reads as empty text; a directory or a file that cannot be opened or read
// is a failure.
[[nodiscard]] std::variant<FileEnd, FileFailure> ReadFileEnd(std::string_view windows_path,
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
using ContentWriter = std::function<std::optional<std::string>(std::FILE* file)>;

// ReplaceFile for content made while it is written, so that it needs not
// be held whole: `write` may read the target, which stays as it was until
// `write` returns. When `write` names a reason the target is left as it
// was.
[[nodiscard]] std::optional<FileFailure> ReplaceFileWith(std::string_view windows_path,
                                                         const ContentWriter& write);

// Removes the new files of earlier replacements of `windows_path` that are
// an hour old: a process ended while it wrote left them. Younger ones may
// be another process's replacement under way and stay.
void RemoveLeftNewFiles(std::string_view windows_path);

// The system's part of the above, one implementation per system; these
// take native paths.
enum class NativeFileKind { kMissing, kFile, kReadOnlyFile, kDirectory, kOther };
// What lies at `native_path`: kOther for what is neither a regular file nor
// a directory, and when the system cannot tell.
NativeFileKind KindOfNativeFile(const std::string& native_path);
// The id of this process in decimal.
std::string ProcessIdText();
// Makes what was written through `file` durable; false when that fails.
bool SyncToDisk(std::FILE* file);
// The files beside `native_path` whose names are its name followed by
// `suffix_start` and more, last written more than `age` ago.
std::vector<std::string> StaleNativeFiles(const std::string& native_path,
                                          std::string_view suffix_start, std::chrono::seconds age);
// Renames `from` over `to` in one step, replacing `to`; nothing on success,
// else the system's reason.
std::optional<std::string> RenameOver(const std::string& from, const std::string& to);

}  // namespace platform
