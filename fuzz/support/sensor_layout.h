// A small PRTG installation on scratch drives, for the targets that run the
// sensor's configuration code against real files.
//
//   C:\PRTG_Path.Txt                      names C:\PRTG
//   C:\PRTG\PRTG Network Monitor\Custom Sensors\ExeXml\    the sensor directory:
//       PRD.P00   application server, CR LF line ends
//       QAS.P00   gateway only ("R/2")
//       DEV.P00   logs on through its destination file SapRfc.DEV (beside it)
//       BAD.P00   password with a wrong check digit
//       SAP Tessaron.Gbl, Tessaron.Prf    listings naming these and a missing one
//   C:\PRTG Network Monitor\Custom Sensors\ExeXml\PRD.P00
//   C:\Programme\PRTG Network Monitor\Custom Sensors\ExeXml\OLD.P00
//   D:\PRTG\Custom Sensors\EXEXML\PRD.P00
//   D:\Data\PRD.P00, E:\Data\PRD.P00      outside any ExeXml directory
//
// BRACKWATER_DRIVES is set to the drives' directory, so that the sensor's
// Windows paths land there.
#pragma once

#include <filesystem>

namespace fuzz {

struct SensorLayout {
  std::filesystem::path drives;            // holds C, D, E
  std::filesystem::path sensor_directory;  // where PRTG starts the sensor
  std::filesystem::path prtg_path_file;    // C:\PRTG_Path.Txt
};

// Made on the first call, in a scratch directory of its own.
const SensorLayout& TheSensorLayout();

}  // namespace fuzz
