// The destination file "SapRfc.ini", as the RFC library reads it: an entry
// starts with a line "DEST=<name>" and runs to the next such line; its other
// lines are KEY=VALUE (TYPE, ASHOST, SYSNR, GWHOST, GWSERV, ...). Lines
// starting with "*" are comments; blank lines and lines without "=" are
// skipped.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rfcsim {

// Key (upper-cased) -> value (blanks around it removed).
using KeyValues = std::map<std::string, std::string, std::less<>>;

// The entry whose DEST equals `destination` exactly (the first one when
// several do), without its DEST line; nullopt when there is none.
std::optional<KeyValues> FindDestination(std::string_view ini_text, std::string_view destination);

}  // namespace rfcsim
