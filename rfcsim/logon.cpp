#include "rfcsim/logon.h"

#include <cctype>

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

namespace {

// One key per way of reaching a system; letter case folded.
std::string AddressKey(bool via_gateway, std::string_view host, std::string_view second) {
  std::string key = via_gateway ? "G|" : "A|";
  for (char c : host) key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  key.push_back('|');
  for (char c : second) {
    key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  return key;
}

}  // namespace

SystemIndex::SystemIndex(const Landscape& landscape) {
  // try_emplace keeps the first system of each address, as FindSystem does.
  for (const SystemModel& system : landscape.systems) {
    systems_.try_emplace(AddressKey(true, system.gwhost, system.gwserv), &system);
    if (system.ashost) {
      systems_.try_emplace(AddressKey(false, *system.ashost, std::to_string(system.sysnr)),
                           &system);
    }
  }
}

const SystemModel* SystemIndex::Find(const PartnerAddress& partner) const {
  const std::string key =
      partner.via_gateway ? AddressKey(true, partner.host, partner.service)
                          : AddressKey(false, partner.host, std::to_string(partner.system_number));
  auto found = systems_.find(key);
  return found == systems_.end() ? nullptr : found->second;
}

std::optional<ErrorTexts> CheckLogon(const SystemModel& system, const Credentials& credentials) {
  const std::string_view client = TrimTrailingBlanks(credentials.client);
  const auto same_client = [&](const Account& account) {
    return TrimTrailingBlanks(account.client) == client;
  };
  if (std::none_of(system.accounts.begin(), system.accounts.end(), same_client)) {
    return LogonError(platform::Joined("Client ", client, " is not available in this system"));
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
