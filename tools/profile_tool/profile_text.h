// The text of a new profile file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/connection_profile.h"
#include "config/profile_fields.h"

namespace profile_tool {

// Why the sensor would refuse `value` for `field`, or would silently use
// less of it than was given; nullopt when it takes the value whole. Not for
// the password, whose value is the scrambled form.
std::optional<std::string> ValueRefusal(const config::ProfileField& field, std::string_view value);

// A comment header, then the eleven labelled lines in the sensor's order,
// each "label, blank, value" so that the value starts in column 14. The
// Password line gets `scrambled_password`; `settings.Password` is not used.
std::string ProfileText(const config::ConnectionProfile& settings,
                        std::optional<std::string_view> scrambled_password);

}  // namespace profile_tool
