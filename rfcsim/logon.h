// Finding the addressed system in the landscape and checking the logon.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "rfcsim/landscape.h"
#include "rfcsim/open_request.h"

namespace rfcsim {

// The first system reachable at `partner`, or null. Hosts and gateway
// services compare without regard to letter case.
const SystemModel* FindSystem(const Landscape& landscape, const PartnerAddress& partner);

// The same look-up through an index made once, so that a landscape of
// thousands of systems does not make every logon walk it.
class SystemIndex {
 public:
  explicit SystemIndex(const Landscape& landscape);
  const SystemModel* Find(const PartnerAddress& partner) const;

 private:
  std::unordered_map<std::string, const SystemModel*> systems_;
};

// nullopt when one of the system's accounts matches: the client exactly, the
// user in any letter case, the password exactly; trailing blanks never
// count. Otherwise the logon error.
std::optional<ErrorTexts> CheckLogon(const SystemModel& system, const Credentials& credentials);

}  // namespace rfcsim
