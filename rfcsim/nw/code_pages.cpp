#include "rfcsim/nw/code_pages.h"

extern "C" {

std::size_t rfcsim_ucum_latin1_to_utf16(const char* bytes, std::size_t length, char16_t* text) {
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<unsigned char>(bytes[i]);
  return length;
}

std::size_t rfcsim_ucum_utf16_to_latin1(const char16_t* text, std::size_t length, char* bytes) {
  std::size_t written = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t unit = text[i];
    if (unit <= 0xFF) {
      bytes[written++] = static_cast<char>(unit);
      continue;
    }
    bytes[written++] = '?';
    // A surrogate pair stands for one character.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    }
  }
  return written;
}

std::size_t rfcsim_ucum_utf8_to_utf16(const char* utf8, std::size_t length, char16_t* text) {
  std::size_t written = 0;
  for (std::size_t i = 0; i < length;) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t sequence = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = sequence == 1   ? lead
                    : sequence == 2 ? lead & 0x1Fu
                    : sequence == 3 ? lead & 0x0Fu
                                    : lead & 0x07u;
    for (std::size_t k = 1; k < sequence && i + k < length; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    }
    i += sequence;
    // Only a whole four-byte sequence reaches U+10000: its two units never
    // outgrow its bytes.
    if (code >= 0x10000) {
      code -= 0x10000;
      text[written++] = static_cast<char16_t>(0xD800 + (code >> 10));
      text[written++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      text[written++] = static_cast<char16_t>(code);
    }
  }
  return written;
}

}  // extern "C"
