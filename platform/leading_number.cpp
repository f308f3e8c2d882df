#include "platform/leading_number.h"

#include <algorithm>
#include <climits>

namespace platform {

int LeadingInt(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) {
    return 0;
  }
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  long long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = std::min(number * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  number = negative ? -number : std::min(number, static_cast<long long>(INT_MAX));
  return static_cast<int>(number);
}

}  // namespace platform
