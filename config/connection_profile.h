// The logon settings of one SAP system, as read from its profile file.
#pragma once

#include <string>

struct ConnectionProfile {
  std::string Extcompany;
  std::string Destination;
  std::string Client;
  std::string User;      // stored upper-cased
  std::string Password;  // plain text after unscrambling; never printed
  std::string Language;
  std::string Mode;
  std::string Hostname;
  // Second copy of the host shown on the console lines; the system
  // information step replaces it with the host the system reports.
  std::string HostnameDisplay;
  std::string Sysnr;
  std::string Gwhost;
  std::string Gwservice;
};
