#include "rfcsim/error_records.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace rfcsim {
namespace {

template <std::size_t N>
void CopyText(RFC_CHAR (&target)[N], std::string_view text) {
  const std::size_t length = std::min(text.size(), N - 1);
  text.copy(target, length);
  target[length] = '\0';
}

constexpr std::array<std::pair<std::string_view, RFC_ERROR_GROUP>, 10> kGroupsByKey{{
    {"RFC_ERROR_PROGRAM", RFC_ERROR_PROGRAM},
    {"RFC_ERROR_COMMUNICATION", RFC_ERROR_COMMUNICATION},
    {"RFC_ERROR_LOGON_FAILURE", RFC_ERROR_LOGON_FAILURE},
    {"RFC_ERROR_SYSTEM_FAILURE", RFC_ERROR_SYSTEM_FAILURE},
    {"RFC_ERROR_APPLICATION_EXCEPTION", RFC_ERROR_APPLICATION_EXCEPTION},
    {"RFC_ERROR_RESOURCE", RFC_ERROR_RESOURCE},
    {"RFC_ERROR_PROTOCOL", RFC_ERROR_PROTOCOL},
    {"RFC_ERROR_INTERNAL", RFC_ERROR_INTERNAL},
    {"RFC_ERROR_CANCELLED", RFC_ERROR_CANCELLED},
    {"RFC_ERROR_BUSY", RFC_ERROR_BUSY},
}};

}  // namespace

RFC_ERROR_GROUP ErrorGroup(std::string_view key) {
  const auto it = std::find_if(kGroupsByKey.begin(), kGroupsByKey.end(),
                               [&](const auto& entry) { return entry.first == key; });
  return it == kGroupsByKey.end() ? RFC_ERROR_SYSTEM_FAILURE : it->second;
}

void FillErrorInfo(RFC_ERROR_INFO& info, const ErrorTexts& error) {
  CopyText(info.key, error.key);
  CopyText(info.status, error.status);
  CopyText(info.message, error.message);
  CopyText(info.intstat, error.internal_status);
}

void FillErrorInfoEx(RFC_ERROR_INFO_EX& info, const ErrorTexts& error) {
  std::memset(&info, 0, sizeof info);
  info.group = ErrorGroup(error.key);
  CopyText(info.key, error.key);
  CopyText(info.message, error.message);
}

}  // namespace rfcsim
