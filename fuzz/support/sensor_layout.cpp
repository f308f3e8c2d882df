#include "fuzz/support/sensor_layout.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/password_scramble.h"
#include "config/profile_key.h"
#include "fuzz/support/check.h"
#include "fuzz/support/scratch_layout.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExeXmlTail = "PRTG Network Monitor/Custom Sensors/ExeXml";

std::string Scrambled(const std::string& password) {
  const std::vector<int> offsets = config::PrintableOffsets(password);
  Require(!offsets.empty(), "the layout's passwords scramble");
  auto value = config::ScramblePassword(password, offsets.front(), 4711);
  Require(std::holds_alternative<std::string>(value), "the layout's passwords scramble");
  return std::get<std::string>(value);
}

// The same value with another check digit, which unscrambling refuses.
std::string WithWrongCheckDigit(std::string value) {
  const char digit = config::XorWithKey(value[0], 0);
  const char other = static_cast<char>(digit == '9' ? '0' : digit + 1);
  value[0] = config::XorWithKey(other, 0);
  return value;
}

std::string Line(std::string_view label, std::string_view value, const std::string& line_end) {
  return std::string(label) + " " + std::string(value) + line_end;
}

std::string ProfileWithValue(const std::string& destination, const std::string& mode,
                             const std::string& password_value, const std::string& line_end) {
  const std::string host = "sap" + destination;
  std::string text = "* SAP system " + destination + line_end;
  text += Line("Extcompany.:", "Brackwater Lab", line_end);
  text += Line("Destination:", destination, line_end);
  text += Line("Client.....:", "100", line_end);
  text += Line("User.......:", "monitor", line_end);
  text += Line("Password...:", password_value, line_end);
  text += Line("Language...:", "E", line_end);
  text += Line("Mode.......:", mode, line_end);
  text += Line("Hostname...:", host, line_end);
  text += Line("Sysnr......:", "00", line_end);
  text += Line("Gwhost.....:", host, line_end);
  text += Line("Gwservice..:", "sapgw00", line_end);
  return text;
}

// The text of a profile file with every setting, the password scrambled.
std::string ProfileText(const std::string& destination, const std::string& mode,
                        const std::string& password, const std::string& line_end) {
  return ProfileWithValue(destination, mode, Scrambled(password), line_end);
}

// "# GSNx: " and the sensor name padded to ten characters key a line to its
// sensor (columns 1-18); the item text starts in column 20, the systems in
// column 21.
std::string ListingLine(std::string_view marker, std::string_view sensor, std::string_view text) {
  std::string line = std::string(marker) + std::string(sensor);
  line.resize(19, ' ');
  if (marker == "# GSNG: ") line.push_back(' ');
  return line + std::string(text) + "\r\n";
}

std::string GlobalListingText() {
  return "* Global sensor listing\r\n" + ListingLine("# GSNG: ", "PRD01", "PRD.P00#QAS.P00#") +
         ListingLine("# GSNG: ", "PRD01", "DEV.P00#BAD.P00#GONE.P00#") +
         ListingLine("# GSNX: ", "PRD01", "Item=Used:Area,Sensor=\"SAP Brackwater\",Host") +
         ListingLine("# GSNG: ", "ALL", "PRD.P00#QAS.P00#DEV.P00") +
         ListingLine("# GSNX: ", "ALL",
                     "Item=Free:Area:[Prc] @,Sensor=\"SAP Brackwater\",Alias,Sid") +
         ListingLine("# GSNX: ", "OTHER", "Item=Total:Size,Sensor=\"SAP Ostrune\"");
}

std::string ItemListingText() {
  return "# Gsng systems measured with ITEM=\n"
         "                    PRD.P00#QAS.P00#\n"
         "                    DEV.P00#GONE.P00#\n";
}

SensorLayout MakeSensorLayout() {
  const fs::path root = MakeScratchDirectory();
  SensorLayout layout;
  layout.drives = root / "drives";
  const fs::path c = layout.drives / "C";
  layout.sensor_directory = c / "PRTG" / kExeXmlTail;
  layout.prtg_path_file = c / "PRTG_Path.Txt";

  const std::string secret = Scrambled("secret");
  const fs::path& sensors = layout.sensor_directory;
  WriteFile(layout.prtg_path_file, "rem where PRTG lives\r\nC:\\PRTG\r\n");
  WriteFile(sensors / "PRD.P00", ProfileText("PRD", "R/3", "secret", "\r\n"));
  WriteFile(sensors / "QAS.P00", ProfileText("QAS", "R/2", "qas-pass", "\n"));
  WriteFile(sensors / "DEV.P00", ProfileText("DEV", "R/3", "Dev#2024", "\n"));
  WriteFile(sensors / "SapRfc.DEV", "DEST=DEV\r\nTYPE=A\r\nASHOST=sapDEV\r\nSYSNR=00\r\n");
  WriteFile(sensors / "BAD.P00", ProfileWithValue("BAD", "R/3", WithWrongCheckDigit(secret), "\n"));
  WriteFile(sensors / "SAP Tessaron.Gbl", GlobalListingText());
  WriteFile(sensors / "Tessaron.Prf", ItemListingText());

  WriteFile(c / kExeXmlTail / "PRD.P00", ProfileText("PRD", "R/3", "secret", "\n"));
  WriteFile(c / "Programme" / kExeXmlTail / "OLD.P00", ProfileText("OLD", "R/3", "old", "\n"));
  WriteFile(layout.drives / "D" / "PRTG" / "Custom Sensors" / "EXEXML" / "PRD.P00",
            ProfileText("PRD", "R/3", "secret", "\n"));
  WriteFile(layout.drives / "D" / "Data" / "PRD.P00", ProfileText("PRD", "R/3", "secret", "\n"));
  WriteFile(layout.drives / "E" / "Data" / "PRD.P00", ProfileText("PRD", "R/3", "secret", "\n"));

  ::setenv("BRACKWATER_DRIVES", layout.drives.c_str(), 1);
  return layout;
}

}  // namespace

const SensorLayout& TheSensorLayout() {
  static const SensorLayout layout = MakeSensorLayout();
  return layout;
}

}  // namespace fuzz
