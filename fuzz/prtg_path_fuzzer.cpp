// The profile search through the PRTG path file "C:\PRTG_Path.Txt", in the
// scratch PRTG installation of support/sensor_layout.h.
//
// Input: a control character for the file searched for (0 PRD.P00, 1 SAP
// Tessaron.Gbl, 2 Tessaron.Prf, 3 OLD.P00, which lies only in a standard
// directory, 4 GONE.P00, which lies nowhere; mod 5), then the path file.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "config/sensor_directory.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "fuzz/support/scratch_layout.h"
#include "fuzz/support/sensor_layout.h"
#include "platform/files.h"

namespace {

constexpr const char* kProfileNames[] = {"PRD.P00", "SAP Tessaron.Gbl", "Tessaron.Prf", "OLD.P00",
                                         "GONE.P00"};

bool EndsInExeXml(const std::string& directory) {
  if (directory.size() < 7 || directory.back() != '\\') return false;
  std::string tail = directory.substr(directory.size() - 7, 6);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == "EXEXML";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::TheSensorLayout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  if (fuzz::LeavesScratchLayout(input.rest())) return -1;
  const fuzz::SensorLayout& layout = fuzz::TheSensorLayout();
  const char* profile_name = kProfileNames[input.TakeControl() % 5];
  fuzz::WriteFile(layout.prtg_path_file, input.rest());

  fuzz::InDirectory sensor_directory(layout.sensor_directory);
  const config::Checked<config::ProfileLocation> located =
      config::LocateProfile(profile_name, "", config::ProfileSearch::kPrtgDirectories);
  const auto* location = std::get_if<config::ProfileLocation>(&located);
  if (location == nullptr) {
    // A profile not found, or found outside an ExeXml directory.
    fuzz::Require(!std::get<config::ConfigError>(located).message.empty(),
                  "a profile not taken says why");
    return 0;
  }
  fuzz::Require(EndsInExeXml(location->directory),
                "a profile is taken only from an ExeXml directory");
  fuzz::Require(location->path == location->directory + profile_name,
                "the profile path is the directory and the name");
  fuzz::Require(platform::CanOpenForReading(location->path), "the profile found can be opened");
  return 0;
}
