#include "tests/e2e/alarm_fixtures.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace e2e {
namespace {

std::string Elements(std::string_view direction, int warning, int error,
                     const std::string& warning_message, const std::string& error_message) {
  const std::string kind(direction);
  return "\n<LimitMode>1</LimitMode>\n<Limit" + kind + "Warning>" + std::to_string(warning) +
         "</Limit" + kind + "Warning>\n<Limit" + kind + "Error>" + std::to_string(error) +
         "</Limit" + kind + "Error>\n<LimitWarningMsg>" + warning_message +
         "</LimitWarningMsg>\n<LimitErrorMsg>" + error_message + "</LimitErrorMsg>";
}

}  // namespace

std::string UsedAreaLimitElements(int warning, int error) {
  return Elements("Max", warning, error,
                  "Data area more than " + std::to_string(warning) + " % full",
                  "Data area more than " + std::to_string(error) + " % full");
}

std::string FreeAreaLimitElements(int warning, int error) {
  return Elements("Min", warning, error,
                  "Less than " + std::to_string(warning) + " % of the data area free",
                  "Less than " + std::to_string(error) + " % of the data area free");
}

std::string DaysUntilFullLimitElements() {
  return Elements("Min", 30, 7, "Data area full in less than 30 days",
                  "Data area full in less than 7 days");
}

std::string GrowingHistory(long long used, long long total, long long per_day, int days,
                           int hours_before_now) {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::string text;
  for (int hours_ago = days * 24; hours_ago >= 1; --hours_ago) {
    const std::time_t time = now - static_cast<std::time_t>(hours_ago + hours_before_now) * 3600;
    std::tm utc{};
    gmtime_r(&time, &utc);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    const long long then = used - std::llround(static_cast<double>(per_day) * hours_ago / 24);
    text.append(stamp, length);
    text += " " + std::to_string(then) + " " + std::to_string(total) + "\n";
  }
  return text;
}

}  // namespace e2e
