// Numbers in option and profile texts, read the way C's atoi reads them.
#pragma once

#include <string_view>

namespace platform {

// Leading white space, a sign, then the leading digits; 0 when there are
// none. Held to the int range where C leaves an overflow undefined.
int LeadingInt(std::string_view text);

}  // namespace platform
