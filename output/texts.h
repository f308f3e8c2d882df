// Every text the sensor shows to its monitor or operator, in one place, so
// that code and tests cannot drift apart. The spelling is the system's own
// and stays as it is: monitors and operators match on these texts.
#pragma once

#include <string_view>

namespace output {

namespace texts {

// Start-up.
inline constexpr std::string_view kProgramName = "Brackwater";
inline constexpr std::string_view kVersion = "Vers 4.3 / 29.08.22";
inline constexpr std::string_view kError1001 =
    "Error 1001: Parameter for Profile-Name is missing !";

// Sensor directory.
inline constexpr std::string_view kError1002Prefix = "Error 1002: Profile ";
inline constexpr std::string_view kError1002Suffix = " is missing...";
inline constexpr std::string_view kInvalidPathUsage = "Sorry, invalid Path-Usage...";

// Profile file.
inline constexpr std::string_view kError1003Prefix = "Error 1003: Invalid Parameter(s) at ";
inline constexpr std::string_view kError1003Suffix = " found...";
inline constexpr std::string_view kError1004Prefix = "Error 1004: Invalid Password in Profile ";
inline constexpr std::string_view kError1004Suffix = " found...";
inline constexpr std::string_view kError1005Prefix = "Error 1005: Wrong Password in Profile ";
inline constexpr std::string_view kError1005Suffix = " found...";
inline constexpr std::string_view kError1006Prefix = "Error 1006: Username in Profile ";
inline constexpr std::string_view kError1006Suffix = " is missing...";
inline constexpr std::string_view kError1007Prefix = "Error 1007: Password in Profile ";
inline constexpr std::string_view kError1007Suffix = " is missing...";

// Remote steps.
inline constexpr std::string_view kError1011Prefix = "Error 1011: RFC-Open for ";
inline constexpr std::string_view kError1011Suffix = " failed !";
inline constexpr std::string_view kError1012Prefix = "Error 1012: Exception.: ";
inline constexpr std::string_view kError1013 = "Error 1013: Sys-Exception raised !";
inline constexpr std::string_view kError1014 = "Error 1014: RFC-Failure raised !";
inline constexpr std::string_view kError1015 = "Error 1015: Other Failure raised !";
inline constexpr std::string_view kError1018 = "Error 1018: DataBase mismatch !";

// Options that take a value; "Error 1033: Invalid option " + what each
// needs.
inline constexpr std::string_view kError1033Prefix = "Error 1033: Invalid option ";
inline constexpr std::string_view kTimeoutNeeds = "TIMEOUT= - needs whole seconds from 1 to 3600";
inline constexpr std::string_view kCredentialsNeeds = "CRED= - needs WINDOWS or LINUX";
inline constexpr std::string_view kLimitsNeeds =
    "LIMITS= - needs warning/error per cent, e.g. LIMITS=80/90";
inline constexpr std::string_view kForecastNeeds = "FORECAST= - needs whole days from 1 to 365";
inline constexpr std::string_view kParallelNeeds = "PARALLEL= - needs 1 to 32 systems at once";

// The monitor's credentials ("CRED="): "Error 1034: " + variable +
// kCredentialsMissing + "Windows" or "Linux" + " credentials".
inline constexpr std::string_view kError1034Prefix = "Error 1034: ";
inline constexpr std::string_view kCredentialsMissing =
    " not set - set the sensor's Environment to 'Set placeholders as environment values' and "
    "enter the SAP user as the device's ";
inline constexpr std::string_view kCredentialsMissingEnd = " credentials";
// A user the classic library and the profile's texts cannot hold:
// "Error 1034: " + variable + kUserOutsideCodePage.
inline constexpr std::string_view kUserOutsideCodePage =
    " holds a character outside the Windows ANSI code page - enter the SAP user as SAP spells it";
// A password SAP's classic library cannot be handed whole, refused before
// any logon: "Error 1034: " + the variable, or kPasswordFor + destination
// for the profile's own, + the reason.
inline constexpr std::string_view kPasswordFor = "Password for ";
inline constexpr std::string_view kPasswordHoldsBlank =
    " holds a blank or tab, which librfc32 would split in the connection text of a logon "
    "through SapRfc.ini - log on without the destination file, through sapnwrfc.dll, or with a "
    "password without blanks";
inline constexpr std::string_view kPasswordOutsideCodePage =
    " holds a character outside the Windows ANSI code page, which librfc32 cannot take - log on "
    "through sapnwrfc.dll or with another password";

// The run's deadline ("TIMEOUT="): "Error 1032: Timeout after " + seconds +
// " s - no answer from " + destination + " at " + step; a listing's summary
// ends in " Timeout after " + seconds + " s at " + the system in progress.
inline constexpr std::string_view kError1032Prefix = "Error 1032: Timeout after ";
inline constexpr std::string_view kTimeoutNoAnswerFrom = " s - no answer from ";
inline constexpr std::string_view kTimeoutAt = " at ";
inline constexpr std::string_view kSummaryTimeout = " Timeout after ";
inline constexpr std::string_view kSummaryTimeoutAt = " s at ";
inline constexpr std::string_view kStepStart = "the start";
inline constexpr std::string_view kStepLogon = "the logon";

// Global sensor listing.
inline constexpr std::string_view kError1024Prefix = "Error 1024: ProFile ";
inline constexpr std::string_view kError1024Suffix = " is missing...";
inline constexpr std::string_view kError10x1Prefix = "Error 10x1: ProFile ";
inline constexpr std::string_view kError10x1Suffix = " is missing...";
inline constexpr std::string_view kError1025 = "Error 1025: Global Server Listing missing...";
inline constexpr std::string_view kError1026 = "Error 1026: Global Item Idenification missing...";
inline constexpr std::string_view kError1029 = "Error 1029: Invalid Sensor-Allocation...";
inline constexpr std::string_view kError1030Prefix = "Error 1030: Global Sensor ";
inline constexpr std::string_view kError1030Suffix = " not found...";

// RFC library: "Error 1031: RFC-Library " + file + " not loaded - " + reason.
inline constexpr std::string_view kError1031Prefix = "Error 1031: RFC-Library ";
inline constexpr std::string_view kError1031Middle = " not loaded - ";
inline constexpr std::string_view kLibraryNotFound = "not found";
inline constexpr std::string_view kLibraryNeedsMissingDll = "a DLL it needs is missing";
inline constexpr std::string_view kLibraryNot32Bit = "not a 32-bit library";
inline constexpr std::string_view kLibraryNot64Bit = "not a 64-bit library";
inline constexpr std::string_view kLibraryNoEntryPoint = "no entry point ";
inline constexpr std::string_view kLibrarySystemError = "Windows error ";
// The Linux program's reasons: its loader names what it misses.
inline constexpr std::string_view kLibraryNotX86_64 = "not a 64-bit x86_64 library";
inline constexpr std::string_view kLibraryNeedsMissingLibrary = "a library it needs is missing: ";
inline constexpr std::string_view kLibraryRefusedByLoader = "refused by the loader: ";

// Trace-file scan.
inline constexpr std::string_view kLookForTraceFile = " - Look for Trace-File";
inline constexpr std::string_view kPleaseCheckTraceFile = " - Please Check Trace-File !";
inline constexpr std::string_view kTraceMessageLead = " - ";

// RFC error report.
inline constexpr std::string_view kRfcErrorHeading = "RFC error";
inline constexpr std::string_view kLabelOperation = "operation/code";
inline constexpr std::string_view kLabelKey = "key";
inline constexpr std::string_view kLabelStatus = "status";
inline constexpr std::string_view kLabelMessage = "message";
inline constexpr std::string_view kLabelInternalStatus = "internal status";
inline constexpr std::string_view kProgramAborted = "* Programm aborted...";
inline constexpr std::string_view kProgramAbortedLog = "* Pgrm aborted...";
inline constexpr std::string_view kEndOfOutputFileError = "* Error at EoXput-File...";

// Console lines.
inline constexpr std::string_view kSapRfcIniLine = "* SapRfc.Ini.......: ";
inline constexpr std::string_view kStateProcessing = " State=Processing";
inline constexpr std::string_view kStateExecuting = " State=Executing";
inline constexpr std::string_view kNoParameters = "(No Parameters)";
inline constexpr std::string_view kStateProcessed = "Processed";
inline constexpr std::string_view kStateNotFound = "Not Found";
inline constexpr std::string_view kStateRfcFailure = "Rfc Failure";

// Listing summary.
inline constexpr std::string_view kSummaryLead = "(***) ";
inline constexpr std::string_view kSummarySystems = ": NoSystems=";
inline constexpr std::string_view kSummaryProcessed = ", Processed=";
inline constexpr std::string_view kSummaryFailed = ", Failed=";

// Database filling text.
inline constexpr std::string_view kFillingTextLead = ") DBase Filling: ";
inline constexpr std::string_view kFillingTotalSize = "TotalSize=";
inline constexpr std::string_view kFillingUsedArea = ", UsedArea=";
inline constexpr std::string_view kFillingFreeArea = "%, FreeArea=";
inline constexpr std::string_view kFillingTextEnd = "% ";

// A forecast whose history could not be read or written says so after the
// measurement's text (a single system's) or the listing's summary:
// "- forecast: PRD.P00.hst not written (access denied) ", troubles of
// several systems parted by "; ".
inline constexpr std::string_view kForecastTroubleLead = "- forecast: ";
inline constexpr std::string_view kForecastTroubleSeparator = "; ";

// The monitoring plugin's status line: kNagiosLead + state + " - " + the
// summary; a listing's summary is the item, ": " and its counts.
inline constexpr std::string_view kNagiosLead = "MAXDB ";
inline constexpr std::string_view kNagiosOk = "OK";
inline constexpr std::string_view kNagiosWarning = "WARNING";
inline constexpr std::string_view kNagiosCritical = "CRITICAL";
inline constexpr std::string_view kNagiosUnknown = "UNKNOWN";
inline constexpr std::string_view kCountSystems = " systems, ";
inline constexpr std::string_view kCountMeasured = " measured, ";
inline constexpr std::string_view kCountFailed = " failed";
// A single-system run whose filling held no row.
inline constexpr std::string_view kNoFillingData = "No filling data from the system";
// The RFC error report in one line, for the formats that answer in one:
// kRfcErrorHeading + kRfcErrorLineLead + the report's fields parted by ", ".
inline constexpr std::string_view kRfcErrorLineLead = " - ";

}  // namespace texts

}  // namespace output
