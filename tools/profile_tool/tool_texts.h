// Every text the profile tool prints, in one place, so that code and tests
// cannot drift apart. Operators and their scripts read these lines: keep
// them as they are.
#pragma once

#include <string_view>

namespace profile_tool::texts {

// Leads each message on standard error.
inline constexpr std::string_view kLead = "brackwater-profile: ";

// Files.
inline constexpr std::string_view kCannotRead = "cannot read ";
inline constexpr std::string_view kCannotWrite = "cannot write ";
inline constexpr std::string_view kExistsAlready = " exists already; --force replaces it";

// new: the file written and how the sensor logs on with it, after the file
// name, or after kLead when the profile went to standard output.
inline constexpr std::string_view kWritten = ": written - ";
inline constexpr std::string_view kWrittenToStandardOutput = "written to standard output - ";
inline constexpr std::string_view kLogsOnAs = "logs on as ";
inline constexpr std::string_view kWithScrambledPassword = " with the password stored scrambled";
inline constexpr std::string_view kLogsOnWithPrtgCredentials =
    "logs on with PRTG's credentials: the sensor needs CRED=WINDOWS or CRED=LINUX";
inline constexpr std::string_view kNewProfile = "the new profile";
inline constexpr std::string_view kInternalError =
    "internal error, the sensor would not read this profile: ";
inline constexpr std::string_view kPasswordDoesNotUnscramble = "the password does not unscramble";

// A value of new's options.
inline constexpr std::string_view kValueNotPrintable = "may hold printable ASCII characters only";
inline constexpr std::string_view kValueNeedsAtLeast = "needs at least ";
inline constexpr std::string_view kValueHoldsAtMost = "holds at most ";
inline constexpr std::string_view kCharacters = " characters";

// Passwords.
inline constexpr std::string_view kPasswordPrompt = "Password: ";
inline constexpr std::string_view kPasswordAgainPrompt = "Password again: ";
inline constexpr std::string_view kNoPasswordOnInput = "no password on standard input";
inline constexpr std::string_view kNoPasswordGiven = "no password given";
inline constexpr std::string_view kPasswordsDiffer = "the two passwords differ";
inline constexpr std::string_view kPasswordLongerThan = "the password is longer than ";
inline constexpr std::string_view kPasswordCharacters =
    "the password may hold printable ASCII characters only, and no blank";
inline constexpr std::string_view kPasswordNeedsAtLeast = "the password needs at least ";
inline constexpr std::string_view kNoPrintableScrambling =
    "this password has no scrambled form of printable characters; please choose another";
inline constexpr std::string_view kAtOffset = "at offset ";
inline constexpr std::string_view kOffsetNotPrintable =
    " the scrambled password would hold a blank or control character; leave out --offset and a "
    "fitting one is chosen";
inline constexpr std::string_view kOffsetRange = "the offset must be 0 to ";
inline constexpr std::string_view kHoldsThisPassword = "the value holds this password";
inline constexpr std::string_view kHoldsAnotherPassword = "the value holds another password";

// check: the verdict after the file's name.
inline constexpr std::string_view kAccepted = ": accepted";
// A profile without user and password, which only a sensor with "CRED="
// reads.
inline constexpr std::string_view kAcceptedForPrtgCredentials =
    ": accepted - no user and password: the sensor needs CRED=WINDOWS or CRED=LINUX";
inline constexpr std::string_view kFinding = " finding";
inline constexpr std::string_view kFindings = " findings";
inline constexpr std::string_view kSensorStopsWith = "the sensor stops with: ";
inline constexpr std::string_view kNote = "note";
inline constexpr std::string_view kFieldSeparator = ": ";

// check: a defect ("line 5: Error 1004: ...") and what the sensor passes
// over without a word.
inline constexpr std::string_view kLine = "line ";
inline constexpr std::string_view kError = "Error ";
inline constexpr std::string_view kLongerThan = "longer than ";
inline constexpr std::string_view kReadAsFurtherLine =
    " characters; the sensor reads the rest as a further line";
inline constexpr std::string_view kHoldsNul =
    "holds a NUL byte; the sensor ignores what follows it";
inline constexpr std::string_view kValueLongerThan = " value longer than ";
inline constexpr std::string_view kRestIgnored = " characters; the sensor ignores the rest";

// check on a listing: each line led by the sensor's key ("key \"PRD01\"")
// or by "list" for the item listing.
inline constexpr std::string_view kKey = "key ";
inline constexpr std::string_view kList = "list";
inline constexpr std::string_view kListing = "listing";
inline constexpr std::string_view kItem = "item ";
inline constexpr std::string_view kItemFromCommandLine = "item from ITEM=";
inline constexpr std::string_view kSystem = " system";
inline constexpr std::string_view kSystems = " systems";
inline constexpr std::string_view kNoSensorLines =
    "no group or item line; every sensor stops with Error 1030";
inline constexpr std::string_view kNotNameable =
    "no sensor is named so: a blank ends the key a sensor is named with";
inline constexpr std::string_view kMoreThanChannels = ", more than the ";
inline constexpr std::string_view kChannelsForOneSensor = " channels PRTG shows for one sensor";
inline constexpr std::string_view kSplitTheKey = "; split the key in two";
inline constexpr std::string_view kMissing = " missing";
inline constexpr std::string_view kDefective = " defective: ";
inline constexpr std::string_view kAndMore = " (and ";
inline constexpr std::string_view kMore = " more)";
// "line 3: the systems start in column 19; the sensor reads them from
// column 21".
inline constexpr std::string_view kSystemsStartIn = "the systems start in column ";
inline constexpr std::string_view kSystemsReadFrom = "; the sensor reads them from column ";
inline constexpr std::string_view kItemStartsIn = "the item text starts in column ";
inline constexpr std::string_view kItemReadFrom = "; the sensor reads it from column ";
// "item \"Used Aera\" is none of ...".
inline constexpr std::string_view kUnknownItem =
    " is none of the sensor's items, so every system reports \"Not Found\"; the items: ";
inline constexpr std::string_view kComma = ", ";

}  // namespace profile_tool::texts
