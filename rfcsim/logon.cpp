#include "rfcsim/logon.h"

#include <algorithm>

#include "rfcsim/rfc_errors.h"

namespace rfcsim {

const SystemModel* FindSystem(const Landscape& landscape, const PartnerAddress& partner) {
  for (const SystemModel& system : landscape.systems) {
    const bool reached = partner.via_gateway
                             ? EqualsIgnoringCase(system.gwhost, partner.host) &&
                                   EqualsIgnoringCase(system.gwserv, partner.service)
                             : system.ashost && EqualsIgnoringCase(*system.ashost, partner.host) &&
                                   system.sysnr == partner.system_number;
    if (reached) return &system;
  }
  return nullptr;
}

std::optional<ErrorTexts> CheckLogon(const SystemModel& system, const Credentials& credentials) {
  const std::string_view client = TrimTrailingBlanks(credentials.client);
  const auto same_client = [&](const Account& account) {
    return TrimTrailingBlanks(account.client) == client;
  };
  if (std::none_of(system.accounts.begin(), system.accounts.end(), same_client)) {
    return LogonError(Concat("Client ", client, " is not available in this system"));
  }
  const bool accepted =
      std::any_of(system.accounts.begin(), system.accounts.end(), [&](const Account& account) {
        return same_client(account) &&
               EqualsIgnoringCase(TrimTrailingBlanks(account.user),
                                  TrimTrailingBlanks(credentials.user)) &&
               TrimTrailingBlanks(account.password) == TrimTrailingBlanks(credentials.password);
      });
  if (accepted) return std::nullopt;
  return LogonError(std::string(kWrongLogonMessage));
}

}  // namespace rfcsim
