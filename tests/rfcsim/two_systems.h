// The landscape most rfcsim tests start from, classic and NetWeaver alike.
#pragma once

namespace rfcsim::testing {

// Two systems: PRD, an application server, and R2S, reached through its
// gateway only. Both accept MONITOR/secret in client 100.
inline constexpr const char* kTwoSystems = R"({
  "systems": [
    {"name": "PRD", "ashost": "sapprd01", "sysnr": "00",
     "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}]},
    {"name": "R2S", "gwhost": "r2gate", "gwserv": "sapgw42",
     "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}]}
  ]
})";

}  // namespace rfcsim::testing
