// The option text of a run (the second argument, a blank and the third),
// read once at start-up into the switches and values the rest of the sensor
// reads. Keywords are found in any case, anywhere, also inside another word;
// their values are read from the text as given, at the same place. The one
// exception is "FORECAST" without "=", a word of its own between blanks and
// commas: it writes a history, and a host or profile name may well hold it.
//
// The opt-in keywords ("TIMEOUT=", "LIMITS=", "FORECAST", "CRED=",
// "PARALLEL=") are also found in every further argument: a monitor splits
// its parameter field at blanks, and a deadline or a logon setting typed as
// a fourth word must not go unseen. The others keep to the second and third
// argument.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/config_error.h"

namespace config {

// The device credentials PRTG hands a sensor as environment values.
enum class MonitorCredentials { kWindows, kLinux };

// How full the data area may be, in whole per cents (1 <= warning <=
// error <= 100), before the monitor warns and before it reports an error.
struct FillingLimits {
  int warning = 0;
  int error = 0;

  bool operator==(const FillingLimits&) const = default;
};

// The forecast's span when "FORECAST" comes without days.
inline constexpr int kDefaultForecastDays = 7;

struct RunOptions {
  std::string text;   // the second and third argument, as given
  std::string upper;  // upper-cased, byte by byte

  bool console = false;           // "#", "@", "$" or "%": progress lines
  bool profile_as_named = false;  // "@": the profile where the command line names it
  bool syslog = false;            // ",SYSLOG": trace lines on standard error

  // "ITEM=": the item of a listing run over the item listing.
  std::optional<std::string> item;
  // "CH=": one bare value, that of the channel with this number (read like
  // C's atoi over at most three characters, up to a ",").
  std::optional<int> channel;
  // ",HOST=" and ",NO=": the application server and system number that
  // replace the profile's (up to the next "," or blank).
  std::optional<std::string> host;
  std::optional<std::string> system_number;
  // "TIMEOUT=": the seconds, 1 to 3600, within which the run answers.
  std::optional<int> timeout_seconds;
  // "CRED=": the logon's user and password come from the monitor's
  // credentials of this kind of device, not from the profile.
  std::optional<MonitorCredentials> credentials;
  // "LIMITS=W/E": the monitor's alarm levels for how full the data area is.
  std::optional<FillingLimits> limits;
  // "FORECAST" or "FORECAST=D": the days-until-full channel, forecast from
  // the filling of the last D days (1 to 365).
  std::optional<int> forecast_days;
  // "PARALLEL=N": a listing run measures up to N systems (1 to 32) at once,
  // each in a process of its own; single-system runs take no notice.
  std::optional<int> parallel_systems;

  // How the console lines show the options: the single-system run's form
  // and the listing run's (see the functions below).
  std::string single_run_display;
  std::string listing_display;
};

// Reads the option text and, for the opt-in keywords, `further_words` (the
// arguments after the third, parted by blanks); Error 1033 for a keyword
// whose value is not what it needs.
Checked<RunOptions> ParseRunOptions(std::string text, std::string_view further_words = {});

// The item name in `text` after `from`: up to a blank, a "," or 90
// characters, whichever comes first; ":" stands for a blank.
std::string ItemNameAt(std::string_view text, std::size_t from);

// The single-system run's display: cut before the first "#" and the first
// "@", and "(No Parameters)" for nothing left.
std::string SingleRunOptionsDisplay(std::string options);

// The listing run's display: ":" becomes a blank, cut before the first " @".
std::string ListingRunOptionsDisplay(std::string options);

}  // namespace config
