// The logon parameters the backend hands to RfcOpenConnection, from the
// profile's address or from an entry of "SapRfc.ini".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "rfc/netweaver/nw_rfc_api.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// Names and values as UTF-16 texts, in the order added; the records for
// RfcOpenConnection point into them.
class LogonParameters {
 public:
  // Adds a parameter; the value's bytes are ISO 8859-1.
  void Add(std::string_view name, std::string_view value);
  // Adds a parameter whose value is UTF-16 already, as the library takes it.
  void Add(std::string_view name, std::u16string value);
  // The records, valid while this object lives unchanged.
  std::vector<::nw::RFC_CONNECTION_PARAMETER> Records() const;

 private:
  std::vector<std::pair<std::u16string, std::u16string>> parameters_;
};

// Why a logon cannot be handed to the NetWeaver library: the message of the
// trace block.
struct LogonRefusal {
  std::string message;
};

using LogonRequest = std::variant<LogonParameters, LogonRefusal>;

// Through the profile's address: ashost (left out when the host is empty),
// sysnr (the text read as C's atoi reads it, written as two digits),
// client, user and passwd without trailing blanks, lang. The password's
// bytes are ISO 8859-1; a UTF-16 one (the monitor's, on Windows) goes as it
// is. Mode "R/2" (a
// gateway only) has no NetWeaver counterpart and is refused, as is a system
// number outside 0-99. No gateway is handed over: the library finds the
// application server's own.
LogonRequest LogonFromAddress(const AddressLogon& logon);

// Through the entry of "SapRfc.ini" in the working directory. The sensor has
// always handed the profile's texts over in one connection text,
// "CLIENT=<c> USER=<u> PASSWD=<p> LANG=D DEST=<d>", of blank-separated
// KEY=VALUE words (keys CLIENT, USER, PASSWD, LANG, DEST, ASHOST, SYSNR,
// GWHOST, GWSERV, TYPE, TRACE in any case, the last of a key counting), and
// so the texts but the password are still read: a blank within a value ends
// the word there and what follows counts as words of its own. The password
// is no word of that text: it goes whole, as passwd, whatever it holds
// (blanks, "=", any character), less trailing blanks as by the address,
// and no other word sets it. A word without "=" or with
// an unknown key refuses the logon; a known one takes effect (DEST= names
// another entry, ASHOST= an address of its own). Without ASHOST or GWHOST
// among the words, the entry of DEST supplies the address. An address
// without an application server (a gateway only, or TYPE=2) is refused.
// TYPE and TRACE are not handed over: the library would write trace files
// of its own.
LogonRequest LogonFromDestination(const DestinationLogon& logon);

}  // namespace rfc::nw
