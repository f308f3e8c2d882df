// The logon parameters the adapter hands to RfcOpenConnection, from the
// classic logon record (RfcOpen) or connection text (RfcOpenEx).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "rfc/netweaver/nw_rfc_api.h"
#include "rfc/rfc_api.h"

namespace rfc {
struct AddressLogon;
struct DestinationLogon;
}  // namespace rfc

namespace rfc::nw {

// Names and values as UTF-16 texts, in the order added; the records for
// RfcOpenConnection point into them.
class LogonParameters {
 public:
  // Adds a parameter; the value's bytes are ISO 8859-1.
  void Add(std::string_view name, std::string_view value);
  // The records, valid while this object lives unchanged.
  std::vector<::nw::RFC_CONNECTION_PARAMETER> Records() const;
  // The parameters as single-byte name/value pairs, for tests and traces.
  std::vector<std::pair<std::string, std::string>> Pairs() const;

 private:
  std::vector<std::pair<std::u16string, std::u16string>> parameters_;
};

// Why a logon cannot be handed to the NetWeaver library: the message of the
// trace block and of the last error.
struct LogonRefusal {
  std::string message;
};

// The parameters for a classic logon record: ashost and sysnr (two digits)
// from the ServerAddress of mode 0, client, user and passwd without the
// blanks the record pads them with, lang. Absent texts are left out. Mode 1
// ("R/2", a gateway only) has no NetWeaver counterpart and is refused.
std::variant<LogonParameters, LogonRefusal> LogonFromOptions(const OpenOptions* options);

// The parameters for a classic connection text: blank-separated KEY=VALUE
// words, keys CLIENT, USER, PASSWD, LANG, DEST, ASHOST, SYSNR, GWHOST,
// GWSERV, TYPE, TRACE in any case. Without ASHOST, DEST names the entry of
// "SapRfc.ini" in the working directory that supplies the address. An
// address without an application server (a gateway only, or TYPE=2) is
// refused, as is a malformed text. TYPE and TRACE are not handed over: the
// NetWeaver library would write trace files of its own.
std::variant<LogonParameters, LogonRefusal> LogonFromConnectionText(const char* text);

// The parameters for a logon through the profile's address: ashost (left
// out when the host is empty), sysnr (the text read as C's atoi reads it,
// written as two digits), client, user and passwd without trailing blanks,
// lang. Mode "R/2" (a gateway only) has no NetWeaver counterpart and is
// refused, as is a system number outside 0-99. No gateway is handed over:
// the library finds the application server's own.
std::variant<LogonParameters, LogonRefusal> LogonFromAddress(const AddressLogon& logon);

// The parameters for a logon through an entry of "SapRfc.ini": the
// connection text "CLIENT=<c> USER=<u> PASSWD=<p> LANG=D DEST=<d>" read as
// LogonFromConnectionText reads it. The sensor has always handed the
// profile's texts over in this one text, so a blank within a value ends
// the word there and what follows counts as words of its own: a word
// without "=" or with an unknown key refuses the logon, and a known key
// (DEST=, ASHOST=, ...) takes effect, the last of a key winning.
std::variant<LogonParameters, LogonRefusal> LogonFromDestination(const DestinationLogon& logon);

// "00".."99" for a system number given as 0-99 or as one or two digits;
// nothing for anything else.
std::optional<std::string> TwoDigitSystemNumber(std::string_view text);

}  // namespace rfc::nw
