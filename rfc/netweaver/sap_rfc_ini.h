// Destinations in "SapRfc.ini" of the working directory, as the classic
// library reads them for RfcOpenEx.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rfc::nw {

// The entry of `destination`: from its "DEST=" line up to the next one,
// lines KEY=VALUE with keys in upper case, blanks around keys and values
// dropped, "*" lines skipped. Destination names compare exactly. Nothing
// when the file is missing or has no such entry.
std::optional<std::map<std::string, std::string>> FindDestination(std::string_view destination);

// The same within a file's text (LF or CR LF line ends).
std::optional<std::map<std::string, std::string>> FindDestinationIn(std::string_view file_text,
                                                                    std::string_view destination);

}  // namespace rfc::nw
