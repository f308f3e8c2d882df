// Conversions between the sensor's single-byte texts (ISO 8859-1) and the
// NetWeaver library's UTF-16 texts, done by hand: no locale machinery in a
// program that starts once per poll.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "rfc/netweaver/nw_rfc_api.h"

namespace rfc::nw {

// Every byte is the character of the same number (ISO 8859-1).
std::u16string Utf16FromLatin1(std::string_view bytes);

// One byte per character: characters up to U+00FF as themselves, every
// other character (a surrogate pair counts as one) as "?".
std::string Latin1FromUtf16(std::u16string_view text);

// The text of a terminated UTF-16 array, up to its first NUL and never past
// the array.
template <std::size_t N>
std::u16string_view TerminatedText(const ::nw::SAP_UC (&text)[N]) {
  std::size_t length = 0;
  while (length < N && text[length] != u'\0') ++length;
  return {text, length};
}

}  // namespace rfc::nw
