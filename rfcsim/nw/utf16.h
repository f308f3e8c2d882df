// The NetWeaver library's texts are UTF-16 (SAP_UC); the engine's are single
// bytes read as ISO 8859-1, where every byte is the character of that code.
// The conversions themselves are the C functions of code_pages.h, which on
// Linux lie in the companion library libsapucum.so.
#pragma once

#include <string>
#include <string_view>

namespace rfcsim::nw {

std::u16string Latin1ToUtf16(std::string_view bytes);

// Characters beyond U+00FF (and lone surrogates) become '?'.
std::string Utf16ToLatin1(std::u16string_view text);

// A password as the engine compares it, in single bytes: ISO 8859-1 where
// every character is one (and none is DEL), otherwise DEL followed by the
// UTF-16 units in four hexadecimal digits each. Only the same text yields
// the same bytes, so a password with a character beyond U+00FF matches
// only whole: no "?" stands in for a character the sensor failed to send.
std::string EnginePassword(std::u16string_view text);

// Expects valid UTF-8, as the JSON parser hands it over.
std::u16string Utf8ToUtf16(std::string_view utf8);

// A terminated UTF-16 text; null reads as empty.
std::u16string_view TerminatedText(const char16_t* text);

}  // namespace rfcsim::nw
