// The few file operations rfcsim needs, on paths relative to the working
// directory. None of them throws.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rfcsim {

// The whole file, byte for byte; nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Appends `text` to the file, creating it when missing. Opened and closed on
// every call, so that readers see complete lines at once and a process that
// ends abruptly loses nothing already written.
bool AppendToFile(const std::string& path, std::string_view text);

}  // namespace rfcsim
