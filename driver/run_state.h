// What a run knows once it has started: the command line read, the output
// format chosen and the profile or listing found. Set up by StartUp and
// LocateProfile, then only read; the document is the one thing the run
// writes to. One process makes one run.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/monitor_credentials.h"
#include "config/profile_reader.h"
#include "config/run_options.h"
#include "output/result_document.h"

namespace driver {

struct RunState {
  // The command line: the program path and the arguments after it.
  std::string ProgramPath;
  std::vector<std::string> Arguments;
  config::RunOptions Options;
  // "CRED=": the user and password the monitor keeps for the device, which
  // replace the profile's in every logon.
  std::optional<config::MonitorLogon> MonitorLogon;

  std::string StartTime;  // the time of day the run started, "hh:mm:ss"
  std::string Banner;     // the console's first line

  // The Linux program's reading of names (RunServices::linux_names).
  bool LinuxNames = false;
  std::string ProfileName;       // after normalisation, e.g. "PRD.P00"
  std::string ProfileDirectory;  // ends in "\" (or "/", LinuxNames) when not empty
  std::string ProfilePath;       // the file opened
  std::string ItemName;          // "ITEM=": the item listing's measurement
  bool GlobalMode = false;       // a listing run

  // When the deadline ("TIMEOUT=") comes; nothing without one.
  std::optional<std::chrono::steady_clock::time_point> Deadline;
  // A process a listing run started for one of its systems (see
  // listed_system.h): the system's place in the listing, and the file that
  // takes how it counts.
  std::optional<std::size_t> ListedSystem;
  std::string ListedResultPath;

  std::string OutputFlavour = "EXEXML";
  output::ResultDocument Document{"EXEXML", std::nullopt};
};

// Where the run's logons take user and password from.
inline config::LogonCredentials CredentialsOf(const RunState& run) {
  return run.MonitorLogon ? config::LogonCredentials::kFromMonitor
                          : config::LogonCredentials::kInProfile;
}

}  // namespace driver
