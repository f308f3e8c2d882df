// RfcOpenConnection's parameters (names in any letter case) as the engine's
// logon: "gwhost" with "gwserv" and no "ashost" for a gateway, else "ashost"
// (which the engine refuses when missing) with "sysnr" for an application
// server; "client", "user", "passwd", "lang". Other names ("dest",
// "trace", ...) are ignored. The password goes to the engine whole, in the
// form the NetWeaver landscape gives the accounts' passwords
// (EnginePassword).
#pragma once

#include <string>
#include <variant>

#include "rfcsim/nw/classic_bridge.h"
#include "rfcsim/nw/sapnwrfc_api.h"

namespace rfcsim::nw {

// The request, or the message saying why there is none.
std::variant<LogonRequest, std::string> ReadLogonParameters(
    const RFC_CONNECTION_PARAMETER* parameters, unsigned count);

}  // namespace rfcsim::nw
