#include "rfcsim/nw/utf16.h"

#include <algorithm>

namespace rfcsim::nw {

std::u16string Latin1ToUtf16(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
  return text;
}

std::string Utf16ToLatin1(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit <= 0xFF) {
      bytes.push_back(static_cast<char>(unit));
      continue;
    }
    bytes.push_back('?');
    // A surrogate pair stands for one character.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    }
  }
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
  std::u16string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1   ? lead
                    : length == 2 ? lead & 0x1Fu
                    : length == 3 ? lead & 0x0Fu
                                  : lead & 0x07u;
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    }
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      text.push_back(static_cast<char16_t>(code));
    }
  }
  return text;
}

std::u16string_view TerminatedText(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace rfcsim::nw
