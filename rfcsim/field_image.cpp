#include "rfcsim/field_image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "rfcsim/packed_decimal.h"

namespace rfcsim {
namespace {

void WriteTextValue(const Json& value, std::span<unsigned char> field, const std::string& path) {
  if (IsHexObject(value)) {
    std::fill(field.begin(), field.end(), static_cast<unsigned char>(' '));
    const Bytes bytes = HexObjectAt(value, path);
    if (bytes.size() > field.size()) {
      throw SchemaError(path, "more than " + std::to_string(field.size()) + " bytes");
    }
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return;
  }
  WriteText(TextAt(value, path), field);
}

template <typename Integer>
void StoreInteger(std::int64_t number, std::span<unsigned char> field) {
  const auto value = static_cast<Integer>(number);
  std::memcpy(field.data(), &value, sizeof value);
}

template <typename Integer>
void WriteInteger(const Json& value, std::span<unsigned char> field, const std::string& path) {
  StoreInteger<Integer>(IntegerAt(value, std::numeric_limits<Integer>::min(),
                                  std::numeric_limits<Integer>::max(), path),
                        field);
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

void WriteText(std::string_view text, std::span<unsigned char> field) {
  std::fill(field.begin(), field.end(), static_cast<unsigned char>(' '));
  std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

void WriteNumber(const FieldLayout& layout, std::int64_t number, std::span<unsigned char> field) {
  switch (layout.kind) {
    case FieldKind::kInt16:
      return StoreInteger<std::int16_t>(number, field);
    case FieldKind::kInt32:
      return StoreInteger<std::int32_t>(number, field);
    case FieldKind::kPacked:
      if (EncodePacked(number, field)) return;
      break;
    case FieldKind::kChar:
      break;
  }
  throw std::logic_error(platform::Joined("no room for a built-in number in ", layout.name));
}

void WriteField(const FieldLayout& layout, const Json& value, std::span<unsigned char> field,
                const std::string& path) {
  switch (layout.kind) {
    case FieldKind::kChar:
      return WriteTextValue(value, field, path);
    case FieldKind::kInt16:
      return WriteInteger<std::int16_t>(value, field, path);
    case FieldKind::kInt32:
      return WriteInteger<std::int32_t>(value, field, path);
    case FieldKind::kPacked:
      return WritePacked(value, field, path);
  }
}

void WriteStructureFields(const StructureLayout& layout, const Json& row, const std::string& path,
                          Bytes& image) {
  RequireObject(row, path);
  image.resize(layout.length, 0);
  for (const auto& [name, value] : row.items()) {
    const auto field =
        std::find_if(layout.fields.begin(), layout.fields.end(),
                     [&, &key = name](const FieldLayout& f) { return f.name == key; });
    const std::string field_path = ChildPath(path, name);
    if (field == layout.fields.end()) {
      throw SchemaError(field_path, platform::Joined("no field of that name in ", layout.name));
    }
    const auto bytes = std::span(image).subspan(field->offset, field->length);
    if (value.is_null()) {
      std::fill(bytes.begin(), bytes.end(), 0);
    } else {
      WriteField(*field, value, bytes, field_path);
    }
  }
}

Bytes BuildStructureImage(const StructureLayout& layout, const Json& row, const std::string& path) {
  Bytes image(layout.length, 0);
  WriteStructureFields(layout, row, path, image);
  return image;
}

}  // namespace rfcsim
