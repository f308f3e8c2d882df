#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

constexpr char16_t kLastLatin1 = 0x00FF;
constexpr char kUnconvertible = '?';

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string Utf16FromLatin1(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char byte : bytes) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
  return text;
}

std::string Latin1FromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit <= kLastLatin1) {
      bytes.push_back(static_cast<char>(static_cast<unsigned char>(unit)));
      continue;
    }
    bytes.push_back(kUnconvertible);
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  }
  return bytes;
}

}  // namespace rfc::nw
