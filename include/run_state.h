// The state of one run of the sensor, from start-up to exit. One process
// makes one run; nothing is kept between runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "include/connection_profile.h"
#include "include/result_document.h"
#include "rfc/rfc_api.h"

inline constexpr const char* kStepOk = "OK";
inline constexpr const char* kStepError = "ERR";

struct RunState {
  // The command line: the program path and the arguments after it.
  std::string ProgramPath;
  std::vector<std::string> Arguments;

  // Option text (argument 2, a blank and argument 3), upper-cased for the
  // keyword searches, and as given: values are read from the original.
  std::string RunOptions;
  std::string RunOptionsOriginal;

  std::string ProfileName;       // after normalisation, e.g. "PRD.P00"
  std::string ProfileDirectory;  // ends in "\" when not empty
  std::string ProfilePath;       // the file opened
  std::string ItemName;          // the measurement of a listing run

  bool ConsoleMode = false;  // progress lines on the console
  bool GlobalMode = false;   // a listing run

  // "ERR" before each remote step; a step reports success only by "OK".
  std::string StepStatus = kStepError;
  RfcHandle ConnectionHandle = 0;

  std::string ConsoleLine;  // holds the banner first
  std::string ScratchText;  // the time of day, messages in the making

  // Kept from the system information answer.
  std::string DatabaseSystemName;

  // Structure descriptions are installed once per process; 0 until then.
  RfcTypeHandle CpuAllType = 0;
  RfcTypeHandle SystemInfoType = 0;
  RfcTypeHandle DbHistoryType = 0;
  RfcTypeHandle DevStatusType = 0;

  // Listing run, per system and in total.
  std::string PendingSystems;  // profile file names, each followed by "#"
  char NamingKind = '1';       // '1' Profile, '2' Alias, '3' Host, '4' Sid
  std::string DisplayName;
  bool SystemFailed = false;
  bool DataDelivered = false;
  std::uint32_t SystemCount = 0;
  std::uint32_t ProcessedCount = 0;
  std::uint32_t FailedCount = 0;

  std::string OutputFlavour = "EXEXML";
  ConnectionProfile Profile;
  ResultDocument Document{"EXEXML", ""};
};
