#include "config/run_options.h"

#include <algorithm>

#include "output/texts.h"
#include "platform/leading_number.h"
#include "platform/upper_case.h"

namespace config {
namespace {

constexpr std::string_view kItem = "ITEM=";
constexpr std::string_view kChannel = "CH=";
constexpr std::string_view kHost = ",HOST=";
constexpr std::string_view kSystemNumber = ",NO=";
constexpr std::string_view kSyslog = ",SYSLOG";
constexpr std::string_view kTimeout = "TIMEOUT=";
constexpr std::string_view kCredentials = "CRED=";
constexpr std::string_view kLimits = "LIMITS=";
constexpr std::string_view kForecast = "FORECAST";
constexpr std::string_view kForecastDays = "FORECAST=";
constexpr std::string_view kParallel = "PARALLEL=";
constexpr int kLongestTimeout = 3600;
constexpr int kLongestForecast = 365;
constexpr int kMostSystemsAtOnce = 32;
constexpr std::string_view kConsoleMarks = "#@$%";
constexpr char kProfileAsNamed = '@';

// Monitors configure item names of at most this many characters.
constexpr std::size_t kItemNameLimit = 90;
// "CH=" takes at most three characters.
constexpr std::size_t kChannelDigits = 3;

// Blanks and commas part the options: values end at them, and a keyword
// without "=" counts only where they stand around it.
constexpr std::string_view kSeparators = ", ";

// An option text as given and upper-cased.
struct OptionText {
  std::string_view text;
  std::string_view upper;
};

// The value after `keyword` up to the next "," or blank, read from the text
// as given; nothing when the keyword is missing.
std::optional<std::string> ValueAfter(OptionText options, std::string_view keyword) {
  const std::size_t at = options.upper.find(keyword);
  if (at == std::string::npos) return std::nullopt;
  const std::string_view text = options.text;
  const std::size_t from = std::min(at + keyword.size(), text.size());
  const std::size_t end = std::min(text.find_first_of(kSeparators, from), text.size());
  return std::string(text.substr(from, end - from));
}

// Whether `word` stands in `upper` as a word of its own: at the start or
// after a separator, and at the end or before one. Inside a host or profile
// name ("SAPFORECAST1") it switches nothing on.
bool HasWord(std::string_view upper, std::string_view word) {
  for (std::size_t at = upper.find(word); at != std::string_view::npos;
       at = upper.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    const bool starts = at == 0 || kSeparators.find(upper[at - 1]) != std::string_view::npos;
    const bool ends = end == upper.size() || kSeparators.find(upper[end]) != std::string_view::npos;
    if (starts && ends) return true;
  }
  return false;
}

// The channel number after "CH=": at most three characters, up to a ",".
int ChannelAt(std::string_view text, std::size_t from) {
  std::string_view digits = text.substr(from, kChannelDigits);
  return platform::LeadingInt(digits.substr(0, digits.find(',')));
}

// A whole number from 1 to `most`: digits only, nothing else.
std::optional<int> WholeNumber(std::string_view value, int most) {
  if (value.empty() || value.size() > 4 ||
      value.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  const int number = platform::LeadingInt(value);
  if (number < 1 || number > most) return std::nullopt;
  return number;
}

// "W/E": two whole per cents, the warning level not above the error level.
std::optional<FillingLimits> LimitsOf(std::string_view value) {
  constexpr int kFull = 100;
  const std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<int> warning = WholeNumber(value.substr(0, slash), kFull);
  const std::optional<int> error = WholeNumber(value.substr(slash + 1), kFull);
  if (!warning || !error || *warning > *error) return std::nullopt;
  return FillingLimits{*warning, *error};
}

ConfigError InvalidOption(std::string_view needs) {
  return {std::string(output::texts::kError1033Prefix).append(needs)};
}

}  // namespace

Checked<RunOptions> ParseRunOptions(std::string text, std::string_view further_words) {
  RunOptions options;
  options.text = std::move(text);
  options.upper = platform::UpperCase(options.text);
  const OptionText described{options.text, options.upper};
  const std::string opt_in_text =
      further_words.empty() ? options.text : options.text + " " + std::string(further_words);
  const std::string opt_in_upper = platform::UpperCase(opt_in_text);
  const OptionText opt_in{opt_in_text, opt_in_upper};
  options.console = options.upper.find_first_of(kConsoleMarks) != std::string::npos;
  options.profile_as_named = options.upper.find(kProfileAsNamed) != std::string::npos;
  options.syslog = options.upper.find(kSyslog) != std::string::npos;
  if (const std::size_t at = options.upper.find(kItem); at != std::string::npos) {
    options.item = ItemNameAt(options.text, at + kItem.size());
  }
  if (const std::size_t at = options.upper.find(kChannel); at != std::string::npos) {
    options.channel = ChannelAt(options.upper, at + kChannel.size());
  }
  options.host = ValueAfter(described, kHost);
  options.system_number = ValueAfter(described, kSystemNumber);
  if (std::optional<std::string> timeout = ValueAfter(opt_in, kTimeout)) {
    options.timeout_seconds = WholeNumber(*timeout, kLongestTimeout);
    if (!options.timeout_seconds) return InvalidOption(output::texts::kTimeoutNeeds);
  }
  if (std::optional<std::string> kind = ValueAfter(opt_in, kCredentials)) {
    const std::string upper = platform::UpperCase(*kind);
    if (upper == "WINDOWS") {
      options.credentials = MonitorCredentials::kWindows;
    } else if (upper == "LINUX") {
      options.credentials = MonitorCredentials::kLinux;
    } else {
      return InvalidOption(output::texts::kCredentialsNeeds);
    }
  }
  if (std::optional<std::string> limits = ValueAfter(opt_in, kLimits)) {
    options.limits = LimitsOf(*limits);
    if (!options.limits) return InvalidOption(output::texts::kLimitsNeeds);
  }
  if (std::optional<std::string> days = ValueAfter(opt_in, kForecastDays)) {
    options.forecast_days = WholeNumber(*days, kLongestForecast);
    if (!options.forecast_days) return InvalidOption(output::texts::kForecastNeeds);
  } else if (HasWord(opt_in_upper, kForecast)) {
    options.forecast_days = kDefaultForecastDays;
  }
  if (std::optional<std::string> systems = ValueAfter(opt_in, kParallel)) {
    options.parallel_systems = WholeNumber(*systems, kMostSystemsAtOnce);
    if (!options.parallel_systems) return InvalidOption(output::texts::kParallelNeeds);
  }
  options.single_run_display = SingleRunOptionsDisplay(options.text);
  options.listing_display = ListingRunOptionsDisplay(options.text);
  return options;
}

std::string ItemNameAt(std::string_view text, std::size_t from) {
  std::string_view rest = text.substr(std::min(from, text.size()));
  rest = rest.substr(0, std::min({rest.find(' '), rest.find(','), kItemNameLimit}));
  std::string name(rest);
  std::replace(name.begin(), name.end(), ':', ' ');
  return name;
}

std::string SingleRunOptionsDisplay(std::string options) {
  options = options.substr(0, options.find('#'));
  options = options.substr(0, options.find('@'));
  if (options == "(Parameters " || options == "(No ") options.clear();
  if (options.empty()) options = std::string(output::texts::kNoParameters);
  return options;
}

std::string ListingRunOptionsDisplay(std::string options) {
  std::replace(options.begin(), options.end(), ':', ' ');
  return options.substr(0, options.find(" @"));
}

}  // namespace config
