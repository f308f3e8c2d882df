// Where the profile (or listing) file lies. In the PRTG flavour the Windows
// sensor must run from PRTG's "Custom Sensors\ExeXml\" directory and
// refuses any other place.
#pragma once

#include <string>

#include "config/config_error.h"

namespace config {

struct ProfileLocation {
  std::string directory;  // ends in "\" when not empty
  std::string path;       // the file to open
};

enum class ProfileSearch {
  // In `directory` (as split off the command line's name, possibly empty).
  kAsNamed,
  // Below the directory named in PRTG's path file, then in the standard
  // PRTG sensor directories; the path-usage refusal when the file lies
  // outside an ExeXml directory.
  kPrtgDirectories,
  // As named; a relative name not found so is looked for beside the
  // executable (the Linux program, which plugin directories and PRTG's
  // scripts directory start from elsewhere).
  kAsNamedOrBesideProgram,
};

// Finds the file `name`. Error 1002 when it cannot be found.
Checked<ProfileLocation> LocateProfile(const std::string& name, const std::string& directory,
                                       ProfileSearch search);

}  // namespace config
