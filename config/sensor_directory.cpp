#include "config/sensor_directory.h"

#include <algorithm>
#include <array>

#include "include/run_end.h"
#include "include/texts.h"
#include "include/upper_case.h"
#include "platform/files.h"
#include "platform/line_reader.h"

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

[[noreturn]] void ProfileMissing(std::string_view file) {
  throw ErrorDocumentExit(std::string(texts::kError1002Prefix) + std::string(file) +
                          std::string(texts::kError1002Suffix));
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

bool IsExeXmlDirectory(std::string_view directory) {
  if (directory.size() < 7) return false;
  return UpperCase(directory.substr(directory.size() - 7, 6)) == "EXEXML";
}

void SearchPrtgDirectories(RunState& run) {
  const std::string& name = run.ProfileName;
  run.ProfileDirectory.clear();
  if (std::optional<std::string> prtg = PrtgDirectory()) {
    std::string directory = *prtg;
    if (platform::CanOpenForReading(directory + std::string(kPrtgTail) + name)) {
      directory.append(kPrtgTail);
    }
    if (platform::CanOpenForReading(directory + std::string(kSensorsTail) + name)) {
      directory.append(kSensorsTail);
    }
    if (!platform::CanOpenForReading(directory + name)) ProfileMissing(name);
    run.ProfileDirectory = directory;
  }
  std::vector<std::string> candidates = {run.ProfileDirectory};
  candidates.insert(candidates.end(), kStandardDirectories.begin(), kStandardDirectories.end());
  auto found = std::find_if(candidates.begin(), candidates.end(), [&](const std::string& dir) {
    return platform::CanOpenForReading(dir + name);
  });
  if (found == candidates.end()) ProfileMissing(name);
  run.ProfileDirectory = *found;
  run.ProfilePath = run.ProfileDirectory + name;
  if (!IsExeXmlDirectory(run.ProfileDirectory)) {
    throw ErrorDocumentExit(std::string(texts::kInvalidPathUsage));
  }
}

}  // namespace

void LocateProfile(RunState& run) {
  bool prtg = run.OutputFlavour == "EXEXML";
  if (!prtg || run.RunOptions.find('@') != std::string::npos) {
    // Outside PRTG, or asked for explicitly: the file is taken where the
    // command line names it.
    run.ProfilePath = run.ProfileDirectory + run.ProfileName;
    if (!platform::CanOpenForReading(run.ProfilePath)) ProfileMissing(run.ProfilePath);
    return;
  }
  SearchPrtgDirectories(run);
}
