// The logon credentials PRTG keeps for a device and hands a custom sensor
// as environment values, when the sensor's "Environment" setting is "Set
// placeholders as environment values".
#pragma once

#include <string>
#include <string_view>

#include "config/config_error.h"
#include "config/run_options.h"
#include "platform/environment.h"

namespace config {

struct MonitorLogon {
  std::string user;  // upper-cased, as a profile's User is stored
  // As the environment holds it (UTF-16 on Windows): each library takes it
  // in its own form. Never printed, nor any piece of it.
  platform::SystemText password;
  // The variable it came from, which a refusal names.
  std::string_view password_variable;
};

// prtg_windowsuser and prtg_windowspassword, or prtg_linuxuser and
// prtg_linuxpassword. Error 1034 names the first that is missing or empty
// and the setting that provides it, or a user with a character outside the
// ANSI code page.
Checked<MonitorLogon> MonitorLogonFromEnvironment(MonitorCredentials kind);

}  // namespace config
