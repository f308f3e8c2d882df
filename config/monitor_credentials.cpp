#include "config/monitor_credentials.h"

#include <cstdlib>
#include <string_view>

#include "output/texts.h"
#include "platform/upper_case.h"

namespace config {
namespace {

struct Variables {
  const char* user;
  const char* password;
  std::string_view device;  // as PRTG names the kind of credentials
};

Variables VariablesOf(MonitorCredentials kind) {
  if (kind == MonitorCredentials::kLinux) {
    return {"prtg_linuxuser", "prtg_linuxpassword", "Linux"};
  }
  return {"prtg_windowsuser", "prtg_windowspassword", "Windows"};
}

ConfigError Missing(const char* variable, std::string_view device) {
  return {std::string(output::texts::kError1034Prefix)
              .append(variable)
              .append(output::texts::kCredentialsMissing)
              .append(device)
              .append(output::texts::kCredentialsMissingEnd)};
}

}  // namespace

Checked<MonitorLogon> MonitorLogonFromEnvironment(MonitorCredentials kind) {
  const Variables variables = VariablesOf(kind);
  const char* user = std::getenv(variables.user);
  if (user == nullptr || *user == '\0') return Missing(variables.user, variables.device);
  const char* password = std::getenv(variables.password);
  if (password == nullptr || *password == '\0') {
    return Missing(variables.password, variables.device);
  }
  return MonitorLogon{platform::UpperCase(user), password};
}

}  // namespace config
