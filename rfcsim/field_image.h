// Turns landscape values into the bytes a caller receives: one field, or a
// whole row of a structure.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

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

// Writes a number the field is known to hold (the built-in answers): an
// integer field, or a packed one.
void WriteNumber(const FieldLayout& layout, std::int64_t number, std::span<unsigned char> field);

// Writes a text, cut or blank-padded, into a text field.
void WriteText(std::string_view text, std::span<unsigned char> field);

// Writes the fields `row` names into `image` (an image of `layout`). Fields
// given as null become zero; unknown field names are rejected.
void WriteStructureFields(const StructureLayout& layout, const Json& row, const std::string& path,
                          Bytes& image);

// A zero-filled image of `layout` with the fields `row` names written in.
Bytes BuildStructureImage(const StructureLayout& layout, const Json& row, const std::string& path);

}  // namespace rfcsim
