// Filling the RFC_ERROR_INFO every NetWeaver function takes (null is
// allowed: then nothing is reported).
#pragma once

#include <string_view>

#include "rfcsim/nw/sapnwrfc_api.h"

namespace rfcsim::nw {

// Every field zero, code RFC_OK: what a successful call reports.
void ClearError(RFC_ERROR_INFO* info);

// `key` and `message` in single-byte form, cut to their fields. Returns
// `code`.
RFC_RC SetError(RFC_ERROR_INFO* info, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
                std::string_view message);

}  // namespace rfcsim::nw
