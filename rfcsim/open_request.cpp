#include "rfcsim/open_request.h"

#include <cstdio>

#include "rfcsim/connection_text.h"
#include "rfcsim/files.h"
#include "rfcsim/rfc_errors.h"
#include "rfcsim/saprfc_ini.h"

namespace rfcsim {
namespace {

OpenRequestBuild Failure(ErrorTexts error) { return {std::nullopt, std::move(error)}; }

std::string ValueOf(const KeyValues& values, std::string_view key) {
  const auto it = values.find(key);
  return it == values.end() ? std::string() : it->second;
}

// A partner from ASHOST/SYSNR or GWHOST/GWSERV; `where` names the source
// for the error message.
OpenRequestBuild PartnerFromKeys(const KeyValues& values, const std::string& where) {
  OpenRequest request;
  if (values.contains("ASHOST")) {
    const std::string sysnr = ValueOf(values, "SYSNR");
    if (sysnr.empty() || sysnr.size() > 2 ||
        sysnr.find_first_not_of("0123456789") != std::string::npos) {
      return Failure(ProgramError("SYSNR '" + sysnr + "' in " + where + " is not a system number"));
    }
    request.partner = {false, ValueOf(values, "ASHOST"), std::stoi(sysnr), ""};
  } else if (values.contains("GWHOST")) {
    if (!values.contains("GWSERV")) return Failure(ProgramError("GWSERV missing in " + where));
    request.partner = {true, ValueOf(values, "GWHOST"), 0, ValueOf(values, "GWSERV")};
  } else {
    return Failure(ProgramError("neither ASHOST nor GWHOST in " + where));
  }
  return {request, {}};
}

}  // namespace

OpenRequestBuild RequestFromOptions(const RFC_OPTIONS* options) {
  if (!options) return Failure(ProgramError("no open options"));
  if (!options->connopt) return Failure(ProgramError("no connection data"));
  OpenRequest request;
  if (options->mode == RFC_MODE_R3ONLY) {
    const auto* server = static_cast<const RFC_CONNOPT_R3ONLY*>(options->connopt);
    if (!server->hostname) return Failure(ProgramError("ASHOST missing in the connection data"));
    request.partner = {false, server->hostname, server->sysnr, ""};
  } else if (options->mode == RFC_MODE_CPIC) {
    const auto* gateway = static_cast<const RFC_CONNOPT_CPIC*>(options->connopt);
    if (!gateway->gateway_host || !gateway->gateway_service) {
      return Failure(ProgramError("GWHOST or GWSERV missing in the connection data"));
    }
    request.partner = {true, gateway->gateway_host, 0, gateway->gateway_service};
  } else {
    return Failure(
        ProgramError("unknown connection mode " + std::to_string(static_cast<int>(options->mode))));
  }
  request.credentials = {std::string(TextOrEmpty(options->client)),
                         std::string(TextOrEmpty(options->user)),
                         std::string(TextOrEmpty(options->password))};
  return {request, {}};
}

OpenRequestBuild RequestFromConnectionText(std::string_view text,
                                           const std::string& saprfc_ini_path) {
  const ConnectionTextParse parse = ParseConnectionText(text);
  if (!parse.problem.empty()) {
    return Failure(ProgramError("invalid connection text: " + parse.problem));
  }
  OpenRequestBuild build;
  if (parse.values.contains("ASHOST") || parse.values.contains("GWHOST")) {
    build = PartnerFromKeys(parse.values, "the connection text");
  } else if (parse.values.contains("DEST")) {
    const std::string destination = ValueOf(parse.values, "DEST");
    const std::optional<std::string> ini = ReadWholeFile(saprfc_ini_path);
    const std::optional<KeyValues> entry = ini ? FindDestination(*ini, destination) : std::nullopt;
    if (!entry) {
      return Failure(
          ProgramError("destination '" + destination + "' not found in " + saprfc_ini_path));
    }
    build = PartnerFromKeys(*entry, "destination '" + destination + "'");
  } else {
    return Failure(ProgramError("invalid connection text: no DEST, ASHOST or GWHOST"));
  }
  if (build.request) {
    build.request->credentials = {ValueOf(parse.values, "CLIENT"), ValueOf(parse.values, "USER"),
                                  ValueOf(parse.values, "PASSWD")};
  }
  return build;
}

std::string PartnerName(const PartnerAddress& partner) {
  if (partner.via_gateway) return partner.host + ":" + partner.service;
  char service[16];
  std::snprintf(service, sizeof service, "sapgw%02d", partner.system_number);
  return partner.host + ":" + service;
}

}  // namespace rfcsim
