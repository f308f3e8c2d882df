#include "config/sensor_directory.h"

#include <algorithm>
#include <array>

#include "config/file_names.h"
#include "output/texts.h"
#include "platform/files.h"
#include "platform/installation_file.h"
#include "platform/line_reader.h"
#include "platform/upper_case.h"

namespace config {
namespace {

constexpr std::string_view kPrtgTail = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view kSensorsTail = "Custom Sensors\\ExeXml\\";
// Where PRTG installs its custom sensors, on the current drive.
constexpr std::array<std::string_view, 3> kStandardDirectories = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};
// Lines of the PRTG path file are read up to this length.
constexpr std::size_t kPathFileLineLimit = 99;

ConfigError ProfileMissing(std::string_view file) {
  return {std::string(output::texts::kError1002Prefix) + std::string(file) +
          std::string(output::texts::kError1002Suffix)};
}

// A line of the PRTG path file names a directory when it is rooted ("\..."),
// or has a drive ("X:..."), or a share-like third character ("..\...").
bool NamesDirectory(std::string_view line) {
  return (!line.empty() && line[0] == '\\') || (line.size() > 1 && line[1] == ':') ||
         (line.size() > 2 && line[2] == '\\');
}

// The directory named by the last qualifying line of the PRTG path file,
// ending in "\"; nothing when the file cannot be opened.
std::optional<std::string> PrtgDirectory() {
  platform::LineReader reader(file_names::kPrtgPathFile, kPathFileLineLimit);
  if (!reader.IsOpen()) return std::nullopt;
  std::string directory;
  std::string line;
  while (reader.Next(line)) {
    if (NamesDirectory(line)) directory = line;
  }
  if (directory.empty() || directory.back() != '\\') directory.push_back('\\');
  return directory;
}

// Neither rooted ("\..." or "/...") nor on a drive ("X:...").
bool IsRelative(std::string_view path) {
  return !path.empty() && path[0] != '\\' && path[0] != '/' && !(path.size() > 1 && path[1] == ':');
}

bool IsExeXmlDirectory(std::string_view directory) {
  if (directory.size() < 7) return false;
  return platform::UpperCase(directory.substr(directory.size() - 7, 6)) == "EXEXML";
}

Checked<ProfileLocation> SearchPrtgDirectories(const std::string& name) {
  std::string directory;
  if (std::optional<std::string> prtg = PrtgDirectory()) {
    directory = *prtg;
    if (platform::CanOpenForReading(directory + std::string(kPrtgTail) + name)) {
      directory.append(kPrtgTail);
    }
    if (platform::CanOpenForReading(directory + std::string(kSensorsTail) + name)) {
      directory.append(kSensorsTail);
    }
    if (!platform::CanOpenForReading(directory + name)) return ProfileMissing(name);
  }
  std::vector<std::string> candidates = {directory};
  candidates.insert(candidates.end(), kStandardDirectories.begin(), kStandardDirectories.end());
  auto found = std::find_if(candidates.begin(), candidates.end(), [&](const std::string& dir) {
    return platform::CanOpenForReading(dir + name);
  });
  if (found == candidates.end()) return ProfileMissing(name);
  if (!IsExeXmlDirectory(*found)) return ConfigError{std::string(output::texts::kInvalidPathUsage)};
  return ProfileLocation{*found, *found + name};
}

}  // namespace

Checked<ProfileLocation> LocateProfile(const std::string& name, const std::string& directory,
                                       ProfileSearch search) {
  if (search == ProfileSearch::kPrtgDirectories) return SearchPrtgDirectories(name);
  // Outside PRTG, or asked for explicitly: the file is taken where the
  // command line names it.
  std::string path = directory + name;
  if (platform::CanOpenForReading(path)) return ProfileLocation{directory, std::move(path)};
  if (search == ProfileSearch::kAsNamedOrBesideProgram && IsRelative(path)) {
    const std::string program = platform::ExecutableDirectoryAsPath();
    if (!program.empty() && platform::CanOpenForReading(program + path)) {
      return ProfileLocation{program + directory, program + path};
    }
  }
  return ProfileMissing(path);
}

}  // namespace config
