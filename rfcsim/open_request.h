// What an RfcOpen or RfcOpenEx asks for: which partner, and the logon data.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rfcsim/landscape.h"
#include "rfcsim/sap_rfc.h"

namespace rfcsim {

struct PartnerAddress {
  bool via_gateway = false;  // reached by gateway host and service only ("R/2")
  std::string host;          // application server host, or gateway host
  int system_number = 0;     // application server only
  std::string service;       // gateway service (via_gateway only)
};

struct Credentials {
  std::string client;
  std::string user;
  std::string password;
};

struct OpenRequest {
  PartnerAddress partner;
  Credentials credentials;
};

// Either a request or the error that makes the opening fail.
struct OpenRequestBuild {
  std::optional<OpenRequest> request;
  ErrorTexts error;
};

// From the RfcOpen record: RFC_MODE_R3ONLY reads an RFC_CONNOPT_R3ONLY,
// RFC_MODE_CPIC an RFC_CONNOPT_CPIC. Absent texts (null pointers) read as
// missing.
OpenRequestBuild RequestFromOptions(const RFC_OPTIONS* options);

// From the RfcOpenEx text. ASHOST/SYSNR or GWHOST/GWSERV in the text give
// the partner; otherwise DEST names an entry of the destination file at
// `saprfc_ini_path`, which gives them.
OpenRequestBuild RequestFromConnectionText(std::string_view text,
                                           const std::string& saprfc_ini_path);

// "host:sapgw00" or "gwhost:gwserv", as the trace file names a partner.
std::string PartnerName(const PartnerAddress& partner);

}  // namespace rfcsim
