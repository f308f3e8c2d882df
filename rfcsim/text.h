// Small text helpers shared by rfcsim's readers and writers.
//
// The sensor's texts are single bytes (a Windows code page); the landscape
// and the record are JSON, which is UTF-8. rfcsim maps the two through
// ISO 8859-1, where every byte is the character with the same code, so no
// byte is ever lost on the way.
#pragma once

#include "platform/joined.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rfcsim {

using Bytes = std::vector<unsigned char>;

// Every byte becomes the character with that code.
std::string Latin1ToUtf8(std::string_view bytes);

// The reverse; nullopt when the text holds a character beyond U+00FF.
// Expects valid UTF-8 (as the JSON parser hands it over).
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// A text the caller may have left out: null reads as empty.
std::string_view TextOrEmpty(const char* text);

std::string AsciiUpper(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

std::string_view TrimTrailingBlanks(std::string_view text);
// Blanks and tabs at both ends.
std::string_view Trim(std::string_view text);

// Pairs of hexadecimal digits (either case), blanks allowed between the
// pairs; nullopt on anything else.
std::optional<Bytes> ParseHex(std::string_view text);

}  // namespace rfcsim
