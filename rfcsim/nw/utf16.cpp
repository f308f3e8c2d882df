#include "rfcsim/nw/utf16.h"

#include <algorithm>

#include "rfcsim/nw/code_pages.h"

namespace rfcsim::nw {

std::u16string Latin1ToUtf16(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  text.resize(rfcsim_ucum_latin1_to_utf16(bytes.data(), bytes.size(), text.data()));
  return text;
}

std::string Utf16ToLatin1(std::u16string_view text) {
  std::string bytes(text.size(), '\0');
  bytes.resize(rfcsim_ucum_utf16_to_latin1(text.data(), text.size(), bytes.data()));
  return bytes;
}

std::string EnginePassword(std::u16string_view text) {
  if (text.find_first_of(u"\u007F") == std::u16string_view::npos &&
      std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit <= 0xFF; })) {
    return Utf16ToLatin1(text);
  }
  // Trailing blanks never count in a password; the engine, which drops
  // them from single bytes, sees none in this form.
  text = text.substr(0, text.find_last_not_of(u' ') + 1);
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string bytes(1, '\x7F');
  for (const char16_t unit : text) {
    for (int shift = 12; shift >= 0; shift -= 4) bytes.push_back(kDigits[(unit >> shift) & 0xF]);
  }
  return bytes;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string text(utf8.size(), u'\0');
  text.resize(rfcsim_ucum_utf8_to_utf16(utf8.data(), utf8.size(), text.data()));
  return text;
}

std::u16string_view TerminatedText(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace rfcsim::nw
