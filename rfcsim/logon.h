// Finding the addressed system in the landscape and checking the logon.
#pragma once

#include <optional>

#include "rfcsim/landscape.h"
#include "rfcsim/open_request.h"

namespace rfcsim {

// The first system reachable at `partner`, or null. Hosts and gateway
// services compare without regard to letter case.
const SystemModel* FindSystem(const Landscape& landscape, const PartnerAddress& partner);

// nullopt when one of the system's accounts matches: the client exactly, the
// user in any letter case, the password exactly; trailing blanks never
// count. Otherwise the logon error.
std::optional<ErrorTexts> CheckLogon(const SystemModel& system, const Credentials& credentials);

}  // namespace rfcsim
