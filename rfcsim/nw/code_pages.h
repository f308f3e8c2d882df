// The stand-in's code-page conversions (ISO 8859-1 and UTF-8 to and from
// UTF-16) as plain C functions. On Linux they make up libsapucum.so, the
// companion that rfcsim's libsapnwrfc.so needs and loads, as SAP's library
// needs SAP's Unicode conversion library of that name; on Windows and in the
// static rfcsim_nw they are compiled in. rfcsim/nw/utf16.h is their C++
// face: the rest of the stand-in calls that.
//
// Each reads `length` units (or bytes) from its input, writes at most
// `length` units (or bytes) to its output and returns how many it wrote: the
// caller's output holds `length`. An empty input may be null.
#pragma once

#include <cstddef>

extern "C" {

// Every byte is the character of that code.
std::size_t rfcsim_ucum_latin1_to_utf16(const char* bytes, std::size_t length, char16_t* text);

// Characters beyond U+00FF (a surrogate pair, or a lone surrogate) become '?'.
std::size_t rfcsim_ucum_utf16_to_latin1(const char16_t* text, std::size_t length, char* bytes);

// Expects valid UTF-8. A character beyond U+FFFF takes two units for its four
// bytes, every other character at most one unit per byte.
std::size_t rfcsim_ucum_utf8_to_utf16(const char* utf8, std::size_t length, char16_t* text);

}  // extern "C"
