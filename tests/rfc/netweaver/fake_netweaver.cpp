#include "tests/rfc/netweaver/fake_netweaver.h"

#include <algorithm>
#include <climits>

namespace fake_nw {
namespace {

using namespace ::nw;

Partner& Instance() {
  static Partner partner;
  return partner;
}

// The one connection the fake hands out; its address is the handle.
RFC_CONNECTION_HANDLE_RECORD the_connection{};

struct FunctionObject {
  Container data;
  const Module* module;
};

template <std::size_t N>
void Copy(const std::u16string& text, SAP_UC (&field)[N]) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), length, field);
  field[length] = u'\0';
}

RFC_RC Fail(RFC_ERROR_INFO* info, RFC_RC code, const std::u16string& message) {
  *info = Error(code, EXTERNAL_RUNTIME_FAILURE, u"FAKE_ERROR", message);
  return code;
}

Container* AsContainer(DATA_CONTAINER_HANDLE handle) {
  return reinterpret_cast<Container*>(handle);
}
TableData* AsTable(DATA_CONTAINER_HANDLE handle) { return reinterpret_cast<TableData*>(handle); }

// The value of a field; null (and the error filled) when there is none.
const Value* Find(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_ERROR_INFO* info) {
  Container* container = AsContainer(handle);
  const auto it = container->values.find(name);
  if (it == container->values.end()) {
    Fail(info, RFC_INVALID_PARAMETER, u"field " + std::u16string(name) + u" not found");
    return nullptr;
  }
  return &it->second;
}

std::u16string Digits(int value) {
  std::u16string text;
  for (char c : std::to_string(value)) text.push_back(static_cast<char16_t>(c));
  return text;
}

RFC_CONNECTION_HANDLE BW_NW_CALL OpenConnection(const RFC_CONNECTION_PARAMETER* parameters,
                                                unsigned count, RFC_ERROR_INFO* info) {
  std::vector<std::pair<std::string, std::string>> logon;
  for (unsigned i = 0; i < count; ++i) {
    std::string name;
    std::string value;
    for (const SAP_UC* c = parameters[i].name; *c != u'\0'; ++c)
      name.push_back(static_cast<char>(*c));
    for (const SAP_UC* c = parameters[i].value; *c != u'\0'; ++c)
      value.push_back(static_cast<char>(*c));
    logon.emplace_back(name, value);
  }
  Instance().logons.push_back(logon);
  if (Instance().logon_error) {
    *info = *Instance().logon_error;
    return nullptr;
  }
  ++Instance().open_connections;
  return &the_connection;
}

RFC_RC BW_NW_CALL CloseConnection(RFC_CONNECTION_HANDLE, RFC_ERROR_INFO*) {
  --Instance().open_connections;
  return RFC_OK;
}

RFC_FUNCTION_DESC_HANDLE BW_NW_CALL GetFunctionDesc(RFC_CONNECTION_HANDLE, const SAP_UC* name,
                                                    RFC_ERROR_INFO* info) {
  const auto it = Instance().modules.find(name);
  if (it == Instance().modules.end()) {
    *info = Instance().missing_module_error;
    return nullptr;
  }
  return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(&it->second);
}

RFC_FUNCTION_HANDLE BW_NW_CALL CreateFunction(RFC_FUNCTION_DESC_HANDLE description,
                                              RFC_ERROR_INFO*) {
  const Module* module = reinterpret_cast<const Module*>(description);
  ++Instance().live_functions;
  return reinterpret_cast<RFC_FUNCTION_HANDLE>(new FunctionObject{module->answer, module});
}

RFC_RC BW_NW_CALL DestroyFunction(RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO*) {
  --Instance().live_functions;
  delete reinterpret_cast<FunctionObject*>(function);
  return RFC_OK;
}

RFC_RC BW_NW_CALL Invoke(RFC_CONNECTION_HANDLE, RFC_FUNCTION_HANDLE function,
                         RFC_ERROR_INFO* info) {
  const Module* module = reinterpret_cast<FunctionObject*>(function)->module;
  if (module->invoke_error.code != RFC_OK) *info = module->invoke_error;
  return module->invoke_error.code;
}

RFC_RC BW_NW_CALL SetChars(DATA_CONTAINER_HANDLE, const SAP_UC* name, const RFC_CHAR* value,
                           unsigned length, RFC_ERROR_INFO*) {
  Instance().sent[name] = std::u16string(value, length);
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetChars(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_CHAR* buffer,
                           unsigned length, RFC_ERROR_INFO* info) {
  const Value* value = Find(handle, name, info);
  if (value == nullptr) return info->code;
  const std::u16string text = value->is_integer ? Digits(value->integer) : value->text;
  if (text.size() > length) return Fail(info, RFC_BUFFER_TOO_SMALL, u"buffer too small");
  std::fill_n(std::copy(text.begin(), text.end(), buffer), length - text.size(), u' ');
  return RFC_OK;
}

template <typename Integer>
RFC_RC GetInteger(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, Integer* out, long minimum,
                  long maximum, RFC_ERROR_INFO* info) {
  const Value* value = Find(handle, name, info);
  if (value == nullptr) return info->code;
  if (!value->is_integer || value->integer < minimum || value->integer > maximum) {
    return Fail(info, RFC_CONVERSION_FAILURE, u"not an integer of the size");
  }
  *out = static_cast<Integer>(value->integer);
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetInt(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_INT* value,
                         RFC_ERROR_INFO* info) {
  return GetInteger(handle, name, value, INT_MIN, INT_MAX, info);
}
RFC_RC BW_NW_CALL GetInt1(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_INT1* value,
                          RFC_ERROR_INFO* info) {
  return GetInteger(handle, name, value, 0, 255, info);
}
RFC_RC BW_NW_CALL GetInt2(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_INT2* value,
                          RFC_ERROR_INFO* info) {
  return GetInteger(handle, name, value, SHRT_MIN, SHRT_MAX, info);
}

RFC_RC BW_NW_CALL GetString(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, SAP_UC* buffer,
                            unsigned length, unsigned* text_length, RFC_ERROR_INFO* info) {
  const Value* value = Find(handle, name, info);
  if (value == nullptr) return info->code;
  if (value->raw_bytes) return Fail(info, RFC_CONVERSION_FAILURE, u"no packed number");
  const std::u16string text = value->is_integer ? Digits(value->integer) : value->text;
  *text_length = static_cast<unsigned>(text.size());
  if (text.size() + 1 > length) return Fail(info, RFC_BUFFER_TOO_SMALL, u"buffer too small");
  *std::copy(text.begin(), text.end(), buffer) = u'\0';
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetBytes(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, SAP_RAW* buffer,
                           unsigned length, RFC_ERROR_INFO* info) {
  const Value* value = Find(handle, name, info);
  if (value == nullptr) return info->code;
  if (!value->raw_bytes) return Fail(info, RFC_CONVERSION_FAILURE, u"only raw bytes here");
  if (value->raw_bytes->size() > length) {
    return Fail(info, RFC_BUFFER_TOO_SMALL, u"buffer too small");
  }
  std::fill_n(std::copy(value->raw_bytes->begin(), value->raw_bytes->end(), buffer),
              length - value->raw_bytes->size(), SAP_RAW{0});
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetStructure(DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                               RFC_STRUCTURE_HANDLE* structure, RFC_ERROR_INFO* info) {
  Container* container = AsContainer(handle);
  const auto it = container->structures.find(name);
  if (it == container->structures.end())
    return Fail(info, RFC_INVALID_PARAMETER, u"no such structure");
  *structure = reinterpret_cast<RFC_STRUCTURE_HANDLE>(&it->second);
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetTable(DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                           RFC_TABLE_HANDLE* table, RFC_ERROR_INFO* info) {
  Container* container = AsContainer(handle);
  const auto it = container->tables.find(name);
  if (it == container->tables.end()) return Fail(info, RFC_INVALID_PARAMETER, u"no such table");
  *table = reinterpret_cast<RFC_TABLE_HANDLE>(&it->second);
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetRowCount(RFC_TABLE_HANDLE table, unsigned* count, RFC_ERROR_INFO*) {
  *count = static_cast<unsigned>(AsTable(table)->rows.size());
  return RFC_OK;
}

RFC_RC BW_NW_CALL MoveTo(RFC_TABLE_HANDLE table, unsigned index, RFC_ERROR_INFO* info) {
  if (index >= AsTable(table)->rows.size()) return Fail(info, RFC_TABLE_MOVE_EOF, u"past the end");
  AsTable(table)->cursor = index;
  return RFC_OK;
}

RFC_STRUCTURE_HANDLE BW_NW_CALL GetCurrentRow(RFC_TABLE_HANDLE table, RFC_ERROR_INFO*) {
  TableData* data = AsTable(table);
  return reinterpret_cast<RFC_STRUCTURE_HANDLE>(&data->rows[data->cursor]);
}

// The fake describes tables only: a table's type is the table itself.
RFC_TYPE_DESC_HANDLE BW_NW_CALL DescribeType(DATA_CONTAINER_HANDLE handle, RFC_ERROR_INFO*) {
  return reinterpret_cast<RFC_TYPE_DESC_HANDLE>(handle);
}

RFC_RC BW_NW_CALL GetFieldCount(RFC_TYPE_DESC_HANDLE type, unsigned* count, RFC_ERROR_INFO*) {
  *count = static_cast<unsigned>(reinterpret_cast<TableData*>(type)->fields.size());
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetFieldDescByIndex(RFC_TYPE_DESC_HANDLE type, unsigned index,
                                      RFC_FIELD_DESC* description, RFC_ERROR_INFO*) {
  const Field& field = reinterpret_cast<TableData*>(type)->fields.at(index);
  *description = RFC_FIELD_DESC{};
  Copy(field.name, description->name);
  description->type = field.type;
  description->nucLength = field.nuc_length;
  description->nucOffset = field.nuc_offset;
  description->decimals = field.decimals;
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetParameterCount(RFC_FUNCTION_DESC_HANDLE description, unsigned* count,
                                    RFC_ERROR_INFO*) {
  *count = static_cast<unsigned>(reinterpret_cast<const Module*>(description)->parameters.size());
  return RFC_OK;
}

RFC_RC BW_NW_CALL GetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE description, unsigned index,
                                          RFC_PARAMETER_DESC* parameter, RFC_ERROR_INFO*) {
  *parameter = reinterpret_cast<const Module*>(description)->parameters.at(index);
  return RFC_OK;
}

}  // namespace

Value Text(std::u16string text) { return Value{false, 0, std::move(text), std::nullopt}; }
Value Integer(int value) { return Value{true, value, {}, std::nullopt}; }
Value RawBytes(std::string bytes) { return Value{false, 0, {}, std::move(bytes)}; }

::nw::RFC_PARAMETER_DESC Parameter(const std::u16string& name, ::nw::RFCTYPE type,
                                   ::nw::RFC_DIRECTION direction, unsigned nuc_length) {
  ::nw::RFC_PARAMETER_DESC parameter{};
  Copy(name, parameter.name);
  parameter.type = type;
  parameter.direction = direction;
  parameter.nucLength = nuc_length;
  return parameter;
}

::nw::RFC_ERROR_INFO Error(::nw::RFC_RC code, ::nw::RFC_ERROR_GROUP group,
                           const std::u16string& key, const std::u16string& message) {
  ::nw::RFC_ERROR_INFO info{};
  info.code = code;
  info.group = group;
  Copy(key, info.key);
  Copy(message, info.message);
  return info;
}

Partner& ThePartner() { return Instance(); }

void Reset() { Instance() = Partner{}; }

rfc::nw::EntryPoints EntryPoints() {
  rfc::nw::EntryPoints points;
  points.open_connection = &OpenConnection;
  points.close_connection = &CloseConnection;
  points.get_function_desc = &GetFunctionDesc;
  points.create_function = &CreateFunction;
  points.destroy_function = &DestroyFunction;
  points.invoke = &Invoke;
  points.set_chars = &SetChars;
  points.get_chars = &GetChars;
  points.get_int = &GetInt;
  points.get_int1 = &GetInt1;
  points.get_int2 = &GetInt2;
  points.get_string = &GetString;
  points.get_bytes = &GetBytes;
  points.get_structure = &GetStructure;
  points.get_table = &GetTable;
  points.get_row_count = &GetRowCount;
  points.move_to = &MoveTo;
  points.get_current_row = &GetCurrentRow;
  points.describe_type = &DescribeType;
  points.get_field_count = &GetFieldCount;
  points.get_field_desc_by_index = &GetFieldDescByIndex;
  points.get_parameter_count = &GetParameterCount;
  points.get_parameter_desc_by_index = &GetParameterDescByIndex;
  return points;
}

}  // namespace fake_nw
