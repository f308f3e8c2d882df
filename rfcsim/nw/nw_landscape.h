// The landscape as the NetWeaver stand-in reads it: the same file and
// schema as the classic stand-in (docs/landscape.md), with two freedoms
// more. A text of a function module's answer may hold characters beyond
// ISO 8859-1: the NetWeaver library hands texts out as UTF-16, so such a
// text reaches the caller as it stands in the file. The engine, whose texts
// are single bytes, sees '?' in their place. And an account's password may
// hold them, as the library takes passwords in UTF-16: the engine compares
// it in a single-byte form that only the whole password yields.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "rfcsim/landscape.h"

namespace rfcsim::nw {

// The texts beyond ISO 8859-1, by the JSON pointer of the value in the
// document, e.g. "/systems/0/functions/ADA_DB_FILLING/tables/DEVSTAT/0/NAME".
using WideTexts = std::map<std::string, std::u16string, std::less<>>;

struct NwLandscapeLoad {
  Landscape landscape;
  WideTexts wide_texts;
  std::string problem;  // as LandscapeLoad::problem
};

NwLandscapeLoad ParseNwLandscape(std::string_view json_text, std::string_view source);

// As LoadLandscapeFile.
NwLandscapeLoad LoadNwLandscapeFile(const std::string& path, bool must_exist);

// The pointer prefix of the answers of `module` on the system at `index`.
std::string AnswerPointer(std::size_t system_index, std::string_view module);

}  // namespace rfcsim::nw
