// The NetWeaver library's texts are UTF-16 (SAP_UC); the engine's are single
// bytes read as ISO 8859-1, where every byte is the character of that code.
#pragma once

#include <string>
#include <string_view>

namespace rfcsim::nw {

std::u16string Latin1ToUtf16(std::string_view bytes);

// Characters beyond U+00FF (and lone surrogates) become '?'.
std::string Utf16ToLatin1(std::u16string_view text);

// Expects valid UTF-8, as the JSON parser hands it over.
std::u16string Utf8ToUtf16(std::string_view utf8);

// A terminated UTF-16 text; null reads as empty.
std::u16string_view TerminatedText(const char16_t* text);

}  // namespace rfcsim::nw
