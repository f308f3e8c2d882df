// Turns landscape values into the bytes a caller receives: one field, or a
// whole row of a structure.
#pragma once

#include <span>
#include <string>

#include "rfcsim/json_fields.h"
#include "rfcsim/modules.h"

namespace rfcsim {

// Writes `value` into `field` (exactly the field's bytes):
// - text field: a text, cut or blank-padded; or {"hex": ...}, blank-padded;
// - integer field: an integer in the field's range, native byte order;
// - packed field: an integer (encoded with sign C or D), or the field's raw
//   bytes as hexadecimal digits, bare or as {"hex": ...}.
void WriteField(const FieldLayout& layout, const Json& value, std::span<unsigned char> field,
                const std::string& path);

// A zero-filled image of `layout` with the fields `row` names written in.
// Fields given as null stay zero; unknown field names are rejected.
Bytes BuildStructureImage(const StructureLayout& layout, const Json& row, const std::string& path);

}  // namespace rfcsim
