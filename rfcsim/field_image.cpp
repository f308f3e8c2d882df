#include "rfcsim/field_image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "rfcsim/packed_decimal.h"

namespace rfcsim {
namespace {

void WriteText(const Json& value, std::span<unsigned char> field, const std::string& path) {
  std::fill(field.begin(), field.end(), static_cast<unsigned char>(' '));
  if (IsHexObject(value)) {
    const Bytes bytes = HexObjectAt(value, path);
    if (bytes.size() > field.size()) {
      throw SchemaError(path, "more than " + std::to_string(field.size()) + " bytes");
    }
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return;
  }
  const std::string text = TextAt(value, path);
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

template <typename Integer>
void WriteInteger(const Json& value, std::span<unsigned char> field, const std::string& path) {
  const auto number = static_cast<Integer>(IntegerAt(value, std::numeric_limits<Integer>::min(),
                                                     std::numeric_limits<Integer>::max(), path));
  std::memcpy(field.data(), &number, sizeof number);
}

void WritePacked(const Json& value, std::span<unsigned char> field, const std::string& path) {
  if (value.is_string() || IsHexObject(value)) {
    const Bytes bytes = value.is_string() ? HexAt(value, path) : HexObjectAt(value, path);
    if (bytes.size() != field.size()) {
      throw SchemaError(
          path, "expected exactly " + std::to_string(field.size() * 2) + " hexadecimal digits");
    }
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return;
  }
  const std::int64_t number = IntegerAt(value, std::numeric_limits<std::int64_t>::min(),
                                        std::numeric_limits<std::int64_t>::max(), path);
  if (!EncodePacked(number, field)) throw SchemaError(path, "too many digits for the field");
}

}  // namespace

void WriteField(const FieldLayout& layout, const Json& value, std::span<unsigned char> field,
                const std::string& path) {
  switch (layout.kind) {
    case FieldKind::kChar:
      return WriteText(value, field, path);
    case FieldKind::kInt16:
      return WriteInteger<std::int16_t>(value, field, path);
    case FieldKind::kInt32:
      return WriteInteger<std::int32_t>(value, field, path);
    case FieldKind::kPacked:
      return WritePacked(value, field, path);
  }
}

Bytes BuildStructureImage(const StructureLayout& layout, const Json& row, const std::string& path) {
  RequireObject(row, path);
  Bytes image(layout.length, 0);
  for (const auto& [name, value] : row.items()) {
    const auto field =
        std::find_if(layout.fields.begin(), layout.fields.end(),
                     [&, &key = name](const FieldLayout& f) { return f.name == key; });
    const std::string field_path = ChildPath(path, name);
    if (field == layout.fields.end()) {
      throw SchemaError(field_path, Concat("no field of that name in ", layout.name));
    }
    if (value.is_null()) continue;
    WriteField(*field, value, std::span(image).subspan(field->offset, field->length), field_path);
  }
  return image;
}

}  // namespace rfcsim
