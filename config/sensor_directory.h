// Where the profile (or listing) file lies. In the PRTG flavour the sensor
// must run from PRTG's "Custom Sensors\ExeXml\" directory and refuses any
// other place.
#pragma once

#include <string>

#include "config/config_error.h"

namespace config {

struct ProfileLocation {
  std::string directory;  // ends in "\" when not empty
  std::string path;       // the file to open
};

// Finds the file `name`. Without the PRTG search it lies in `directory` (as
// split off the command line's name, possibly empty). With it, it is looked
// for below the directory named in PRTG's path file, then in the standard
// PRTG sensor directories. Error 1002 when it cannot be found; the
// path-usage refusal when it lies outside an ExeXml directory.
Checked<ProfileLocation> LocateProfile(const std::string& name, const std::string& directory,
                                       bool search_prtg_directories);

}  // namespace config
