#include "rfc/netweaver/table_rows.h"

namespace rfc::nw {
namespace {

bool IsText(::nw::RFCTYPE type) {
  return type == ::nw::RFCTYPE_CHAR || type == ::nw::RFCTYPE_DATE || type == ::nw::RFCTYPE_TIME ||
         type == ::nw::RFCTYPE_NUM;
}

std::size_t IntegerSize(::nw::RFCTYPE type) {
  switch (type) {
    case ::nw::RFCTYPE_INT:
      return 4;
    case ::nw::RFCTYPE_INT2:
      return 2;
    case ::nw::RFCTYPE_INT1:
      return 1;
    default:
      return 0;
  }
}

// The field descriptions of a table's row type.
ReadFailure RowFields(const EntryPoints& api, ::nw::RFC_TABLE_HANDLE table,
                      std::vector<::nw::RFC_FIELD_DESC>& fields) {
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_TYPE_DESC_HANDLE type = api.describe_type(table, &info);
  if (type == nullptr) return FromNetWeaver(info);
  unsigned count = 0;
  if (api.get_field_count(type, &count, &info) != ::nw::RFC_OK) return FromNetWeaver(info);
  fields.assign(count, ::nw::RFC_FIELD_DESC{});
  for (unsigned i = 0; i < count; ++i) {
    if (api.get_field_desc_by_index(type, i, &fields[i], &info) != ::nw::RFC_OK) {
      return FromNetWeaver(info);
    }
  }
  return std::nullopt;
}

}  // namespace

ReadFailure RebuildRow(const EntryPoints& api, ::nw::RFC_STRUCTURE_HANDLE row,
                       const std::vector<::nw::RFC_FIELD_DESC>& fields, unsigned row_length,
                       std::vector<unsigned char>& bytes) {
  const FieldReader reader(api);
  bytes.assign(row_length, 0);
  for (const ::nw::RFC_FIELD_DESC& field : fields) {
    if (field.nucOffset >= row_length) continue;
    const std::size_t room = row_length - field.nucOffset;
    unsigned char* at = bytes.data() + field.nucOffset;
    ReadFailure failure;
    if (IsText(field.type)) {
      failure = reader.Text(row, field.name, field.nucLength,
                            std::min<std::size_t>(field.nucLength, room), at);
    } else if (const std::size_t size = IntegerSize(field.type); size != 0) {
      if (size <= room) failure = reader.Integer(row, field.name, size, at);
    } else if (field.type == ::nw::RFCTYPE_BCD) {
      if (field.nucLength <= room) {
        failure = reader.Packed(row, field.name, field.nucLength, field.decimals, at);
      }
    }
    if (failure) return failure;
  }
  return std::nullopt;
}

ReadFailure FillTable(const EntryPoints& api, ::nw::RFC_TABLE_HANDLE table,
                      InternalTableRows& target) {
  target.rows.clear();
  std::vector<::nw::RFC_FIELD_DESC> fields;
  if (ReadFailure failure = RowFields(api, table, fields)) return failure;
  ::nw::RFC_ERROR_INFO info{};
  unsigned count = 0;
  if (api.get_row_count(table, &count, &info) != ::nw::RFC_OK) return FromNetWeaver(info);
  std::vector<unsigned char> bytes;
  for (unsigned i = 0; i < count; ++i) {
    if (api.move_to(table, i, &info) != ::nw::RFC_OK) return FromNetWeaver(info);
    ::nw::RFC_STRUCTURE_HANDLE row = api.get_current_row(table, &info);
    if (row == nullptr) return FromNetWeaver(info);
    if (ReadFailure failure = RebuildRow(api, row, fields, target.row_length, bytes)) {
      return failure;
    }
    target.Append(bytes);
  }
  return std::nullopt;
}

}  // namespace rfc::nw
