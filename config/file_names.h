// Files the sensor reads, writes or deletes, by their names.
#pragma once

#include <string_view>

namespace config {

namespace file_names {
inline constexpr std::string_view kPrtgPathFile = "C:\\PRTG_Path.Txt";
inline constexpr std::string_view kProfileExtension = ".P00";
inline constexpr std::string_view kGlobalListing = "SAP Tessaron.Gbl";
inline constexpr std::string_view kItemListing = "Tessaron.Prf";
inline constexpr std::string_view kTraceFile = "Dev_Rfc.Trc";
inline constexpr std::string_view kSapRfcIni = "SapRfc.ini";
// The filling's history for the forecast: the profile's file name with
// this appended, beside the profile.
inline constexpr std::string_view kHistorySuffix = ".hst";
inline constexpr std::string_view kDestinationFilePrefix = "SapRfc.";
// SAP's classic RFC library, looked for beside the executable, then in the
// Windows system directory; BRACKWATER_RFC_LIBRARY names another file.
inline constexpr std::string_view kRfcLibrary = "librfc32.dll";
// SAP's current library (NetWeaver RFC SDK), taken where the classic one is
// found nowhere.
inline constexpr std::string_view kNetWeaverRfcLibrary = "sapnwrfc.dll";
// The same library on Linux: the Linux program's only one.
inline constexpr std::string_view kLinuxRfcLibrary = "libsapnwrfc.so";
inline constexpr const char* kRfcLibraryVariable = "BRACKWATER_RFC_LIBRARY";
}  // namespace file_names

}  // namespace config
