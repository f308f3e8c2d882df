#include "rfcsim/nw/logon_parameters.h"

#include <map>

#include "rfcsim/nw/utf16.h"
#include "rfcsim/text.h"

namespace rfcsim::nw {

std::variant<LogonRequest, std::string> ReadLogonParameters(
    const RFC_CONNECTION_PARAMETER* parameters, unsigned count) {
  if (count > 0 && !parameters) return std::string("no connection parameters");
  std::map<std::string, std::string> given;
  for (unsigned i = 0; i < count; ++i) {
    if (!parameters[i].name) continue;
    std::string name = AsciiUpper(Utf16ToLatin1(TerminatedText(parameters[i].name)));
    const std::u16string_view value = TerminatedText(parameters[i].value);
    given[name] = name == "PASSWD" ? EnginePassword(value) : Utf16ToLatin1(value);
  }
  const auto value = [&](const char* name) {
    const auto it = given.find(name);
    return it == given.end() ? std::string() : it->second;
  };

  LogonRequest request;
  request.ashost = value("ASHOST");
  request.gwhost = value("GWHOST");
  request.gwserv = value("GWSERV");
  request.client = value("CLIENT");
  request.user = value("USER");
  request.password = value("PASSWD");
  request.language = value("LANG");
  // Without a gateway the logon is an application server's, even when
  // ashost is missing: the engine refuses it then as the classic library
  // refuses a logon record without a host.
  if (!request.ashost.empty() || request.gwhost.empty()) {
    const std::string sysnr =
        request.ashost.empty() && value("SYSNR").empty() ? "0" : value("SYSNR");
    if (sysnr.empty() || sysnr.size() > 2 ||
        sysnr.find_first_not_of("0123456789") != std::string::npos) {
      return "parameter sysnr '" + sysnr + "' is not a system number";
    }
    request.sysnr = std::stoi(sysnr);
  } else if (request.gwserv.empty()) {
    return std::string("gwhost given without gwserv");
  }
  return request;
}

}  // namespace rfcsim::nw
