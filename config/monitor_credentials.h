// The logon credentials PRTG keeps for a device and hands a custom sensor
// as environment values, when the sensor's "Environment" setting is "Set
// placeholders as environment values".
#pragma once

#include <string>

#include "config/config_error.h"
#include "config/run_options.h"

namespace config {

struct MonitorLogon {
  std::string user;      // upper-cased, as a profile's User is stored
  std::string password;  // never printed
};

// prtg_windowsuser and prtg_windowspassword, or prtg_linuxuser and
// prtg_linuxpassword. Error 1034 names the first that is missing or empty
// and the setting that provides it.
Checked<MonitorLogon> MonitorLogonFromEnvironment(MonitorCredentials kind);

}  // namespace config
