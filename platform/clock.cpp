#include "platform/clock.h"

#include <cstdio>
#include <ctime>

namespace platform {

std::string LocalTimeOfDay() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
#if defined(_WIN32)
  localtime_s(&parts, &now);
#else
  localtime_r(&now, &parts);
#endif
  char text[16];
  // Cannot be cut: the fields of a broken-down time are two digits each.
  (void)std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min,
                      parts.tm_sec);
  return text;
}

}  // namespace platform
