// Everything the sensor does with files goes through here. Paths are written
// as Windows paths; where the sensor runs natively on another system they
// are mapped first (see native_path.h).
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing regular file for reading in binary mode; null when it is
// missing, a directory or unreadable. Line ends are handled by the readers.
UniqueFile OpenForReading(std::string_view windows_path);

// True when OpenForReading would succeed.
bool CanOpenForReading(std::string_view windows_path);

// Creates (or truncates) a file for writing in binary mode; null on failure.
UniqueFile CreateForWriting(std::string_view windows_path);

// Opens a file for writing at its end, creating it; null on failure.
UniqueFile OpenForAppending(std::string_view windows_path);

// Deletes a file; false when it did not exist or could not be deleted.
bool RemoveFile(std::string_view windows_path);

}  // namespace platform
