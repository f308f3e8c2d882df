#include "rfc/library_files.h"

#include <optional>

#include "config/file_names.h"
#include "platform/environment.h"

namespace rfc {
namespace {

// A variable's value, empty when it is not set or has no place in the
// ANSI code page, as the library's narrow calls read it.
std::string VariableValue(const char* name) {
  const std::optional<platform::SystemText> value = platform::EnvironmentValue(name);
  if (!value) return {};
  return platform::AnsiText(*value).value_or("");
}

}  // namespace

std::string TraceFilePath() {
  std::string directory = VariableValue("RFC_TRACE_DIR");
  if (directory.empty()) return std::string(config::file_names::kTraceFile);
  if (directory.back() != '\\' && directory.back() != '/') directory += '\\';
  return directory.append(config::file_names::kTraceFile);
}

std::string SapRfcIniPath() {
  const std::string path = VariableValue("RFC_INI");
  return path.empty() ? std::string(config::file_names::kSapRfcIni) : path;
}

}  // namespace rfc
