#include "config/monitor_credentials.h"

#include <optional>
#include <string_view>
#include <utility>

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
  const std::optional<platform::SystemText> user = platform::EnvironmentValue(variables.user);
  if (!user || platform::IsEmpty(*user)) return Missing(variables.user, variables.device);
  std::optional<platform::SystemText> password = platform::EnvironmentValue(variables.password);
  if (!password || platform::IsEmpty(*password)) {
    return Missing(variables.password, variables.device);
  }
  // The user travels as the profile's User does, in single bytes: it must
  // be had in the ANSI code page.
  const std::optional<std::string> narrow_user = platform::AnsiText(*user);
  if (!narrow_user) {
    return ConfigError{std::string(output::texts::kError1034Prefix)
                           .append(variables.user)
                           .append(output::texts::kUserOutsideCodePage)};
  }
  return MonitorLogon{platform::UpperCase(*narrow_user), std::move(*password), variables.password};
}

}  // namespace config
