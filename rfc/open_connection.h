// Logging on to the SAP system: RfcOpen with the profile's address, or
// RfcOpenEx through the library's "SapRfc.ini" when a destination file
// "SapRfc." + Destination lies in the working directory.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "rfc/rfc_api.h"
#include "rfc/rfc_library.h"
#include "rfc/sap_library.h"

namespace rfc {

// Everything an opening hands to the library. The library may keep the
// pointers it is given for the life of the connection, so these texts and
// records must outlive it: one object serves the whole run, and every
// opening rewrites all of it (a listing run opens once per system). The
// records point into the texts, so the object cannot be copied or moved.
struct ConnectionRecords {
  ConnectionRecords() = default;
  ConnectionRecords(const ConnectionRecords&) = delete;
  ConnectionRecords& operator=(const ConnectionRecords&) = delete;

  // The working copy of the logon; the user blank-padded.
  AddressLogon logon;
  // The password in the library's code page, blank-padded.
  std::string password;

  OpenOptions options{};
  ServerAddress server{};
  GatewayAddress gateway{};

  // The RfcOpenEx way: its connection text and error record (not read).
  std::string connection_text;
  RfcErrorInfoEx error_info{};
};

// The way the logon goes for `address`: through "SapRfc.ini" when a
// destination file "SapRfc." + destination lies in the working directory
// (copied to "SapRfc.ini" first, with the console line about it handed to
// `console` when there is one), else through the address itself. Nothing
// when "SapRfc.ini" could not be written whole: the logon fails.
std::optional<Logon> PrepareLogon(const AddressLogon& address,
                                  const std::function<void(std::string_view)>& console);

// Why the classic library cannot be handed the password of `logon` whole:
// a character outside the ANSI code page, or, in the connection text of a
// destination file's logon, a blank or tab. The text is parted at those,
// and SAP documents no quoting for RfcOpenEx's values.
std::optional<PasswordRefusal> RefusedByConnection(const Logon& logon);

// Opens the connection (RfcOpen or RfcOpenEx) and writes its trace line;
// the handle, 0 when the library opened none. A password that
// RefusedByConnection refuses is never sent: no opening, 0.
RfcHandle OpenConnection(RfcLibrary& library, const Logon& logon, const TraceWriter& trace,
                         ConnectionRecords& records);

}  // namespace rfc
