#include "measure/filling_channels.h"

namespace measure {

namespace {

FillingValue Size(const rfc::FillingSize& size) { return {size.megabytes, size.raw}; }

FillingValue Percent(std::uint32_t percent) {
  std::string text = std::to_string(percent);
  return {text, text};
}

}  // namespace

std::array<FillingValue, kFillingChannelCount> FillingValues(const rfc::FillingRow& row) {
  return {{
      Size(row.total),
      Size(row.used),
      Percent(row.used_percent),
      Size(row.perm_used),
      Percent(row.perm_used_percent),
      Size(row.temp_used),
      Percent(row.temp_used_percent),
      Size(row.free),
      Percent(row.free_percent),
  }};
}

}  // namespace measure
