// Logging on to the SAP system: RfcOpen with the profile's address, or
// RfcOpenEx through the library's "SapRfc.ini" when a destination file
// "SapRfc." + Destination lies in the working directory.
#pragma once

#include <string>

#include "include/run_services.h"
#include "include/run_state.h"
#include "rfc/rfc_api.h"

// Everything an opening hands to the library. The library may keep the
// pointers it is given for the life of the connection, so these texts and
// records must outlive it: one object serves the whole run, and every
// opening rewrites all of it (a listing run opens once per system). The
// records point into the texts, so the object cannot be copied or moved.
struct ConnectionRecords {
  ConnectionRecords() = default;
  ConnectionRecords(const ConnectionRecords&) = delete;
  ConnectionRecords& operator=(const ConnectionRecords&) = delete;

  // Working copies of the profile; user and password blank-padded.
  std::string destination;
  std::string client;
  std::string user;
  std::string password;
  std::string language;
  std::string mode;
  std::string host;
  std::string system_number;
  std::string gateway_host;
  std::string gateway_service;

  OpenOptions options{};
  ServerAddress server{};
  GatewayAddress gateway{};

  // The RfcOpenEx way: its connection text and error record (not read).
  std::string connection_text;
  RfcErrorInfoEx error_info{};
};

// Opens the connection for run.Profile and returns its handle, 0 when the
// library opened none or "SapRfc.ini" could not be written. ",HOST=" and
// ",NO=" in the options replace the profile's host and system number by the
// text that follows them there (up to a ",", a blank or the end, as given).
// Writes the trace line of the opening; the caller keeps the handle in
// run.ConnectionHandle and closes it.
RfcHandle OpenConnection(RunState& run, RunServices& services, ConnectionRecords& records);

// The same with the run's own records, kept in static storage for the life
// of the process.
RfcHandle OpenConnection(RunState& run, RunServices& services);
