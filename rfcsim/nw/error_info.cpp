#include "rfcsim/nw/error_info.h"

#include <algorithm>
#include <iterator>

namespace rfcsim::nw {
namespace {

template <std::size_t N>
void CopyText(SAP_UC (&field)[N], std::string_view text) {
  const std::size_t count = std::min(text.size(), N - 1);
  for (std::size_t i = 0; i < count; ++i) field[i] = static_cast<unsigned char>(text[i]);
  field[count] = u'\0';
}

}  // namespace

void ClearError(RFC_ERROR_INFO* info) {
  if (info) *info = RFC_ERROR_INFO{};
}

RFC_RC SetError(RFC_ERROR_INFO* info, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
                std::string_view message) {
  if (!info) return code;
  *info = RFC_ERROR_INFO{};
  info->code = code;
  info->group = group;
  CopyText(info->key, key);
  CopyText(info->message, message);
  return code;
}

}  // namespace rfcsim::nw
