#include "rfc/netweaver/function_call.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "rfc/netweaver/field_reading.h"
#include "rfc/netweaver/table_rows.h"
#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

constexpr unsigned kRfcTypeInt1 = 10;

bool IsTextType(unsigned type) {
  return type == kRfcTypeChar || type == kRfcTypeDate || type == kRfcTypeTime ||
         type == kRfcTypeNum;
}

// The integer size of a classic type code; 0 for other codes.
std::size_t IntegerSize(unsigned type) {
  if (type == kRfcTypeInt) return 4;
  if (type == kRfcTypeInt2) return 2;
  if (type == kRfcTypeInt1) return 1;
  return 0;
}

const ::nw::RFC_PARAMETER_DESC* FindParameter(const FunctionInterface& signature,
                                              const std::string& name, auto accepts) {
  const std::u16string wanted = Utf16FromLatin1(name);
  for (const ::nw::RFC_PARAMETER_DESC& parameter : signature.parameters) {
    if (accepts(parameter.direction) && TerminatedText(parameter.name) == wanted) {
      return &parameter;
    }
  }
  return nullptr;
}

CallOutcome Failed(AdapterError error) {
  CallOutcome outcome;
  outcome.code = kRfcFailure;
  outcome.error = std::move(error);
  return outcome;
}

// Destroys the function container when the call is done with it.
class FunctionContainer {
 public:
  FunctionContainer(const EntryPoints& api, ::nw::RFC_FUNCTION_HANDLE handle)
      : api_(api), handle_(handle) {}
  ~FunctionContainer() {
    ::nw::RFC_ERROR_INFO ignored{};
    api_.destroy_function(handle_, &ignored);
  }
  FunctionContainer(const FunctionContainer&) = delete;
  FunctionContainer& operator=(const FunctionContainer&) = delete;
  ::nw::RFC_FUNCTION_HANDLE get() const { return handle_; }

 private:
  const EntryPoints& api_;
  ::nw::RFC_FUNCTION_HANDLE handle_;
};

std::optional<CallOutcome> SetExporting(const CallContext& context,
                                        const FunctionInterface& signature, const PendingCall& call,
                                        ::nw::RFC_FUNCTION_HANDLE function) {
  for (const PendingCall::Value& value : call.exporting) {
    const ::nw::RFC_PARAMETER_DESC* parameter = signature.Sent(value.name);
    if (parameter == nullptr) continue;
    if (!IsTextType(value.type)) {
      return Failed(AdapterFailure("RFC_INVALID_PARAMETER",
                                   "exporting parameter '" + value.name + "' has type " +
                                       std::to_string(value.type) + ", which is not sent"));
    }
    const std::u16string name = Utf16FromLatin1(value.name);
    std::u16string text = Utf16FromLatin1(value.bytes);
    // The caller's field may be wider than the module's (the classic record
    // is blank-padded): blanks beyond the module's length are not sent.
    if (parameter->nucLength != 0 && text.size() > parameter->nucLength &&
        text.find_first_not_of(u' ', parameter->nucLength) == std::u16string::npos) {
      text.resize(parameter->nucLength);
    }
    ::nw::RFC_ERROR_INFO info{};
    if (context.api.set_chars(function, name.c_str(), text.data(),
                              static_cast<unsigned>(text.size()), &info) != ::nw::RFC_OK) {
      return OutcomeOf(info);
    }
  }
  return std::nullopt;
}

// A structure rebuilt byte for byte from its registered elements, into the
// caller's `length` bytes.
ReadFailure ReadStructure(const CallContext& context, ::nw::RFC_FUNCTION_HANDLE function,
                          const std::u16string& name, const StructureDescription& description,
                          std::vector<unsigned char>& bytes) {
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_STRUCTURE_HANDLE structure = nullptr;
  if (context.api.get_structure(function, name.c_str(), &structure, &info) != ::nw::RFC_OK) {
    return FromNetWeaver(info);
  }
  const FieldReader reader(context.api);
  for (const StructureElement& element : description.elements) {
    if (element.offset >= bytes.size()) continue;
    const std::size_t room = bytes.size() - element.offset;
    const std::u16string field = Utf16FromLatin1(element.name);
    unsigned char* at = bytes.data() + element.offset;
    ReadFailure failure;
    if (IsTextType(element.type)) {
      failure = reader.Text(structure, field.c_str(), element.length,
                            std::min<std::size_t>(element.length, room), at);
    } else if (const std::size_t size = IntegerSize(element.type); size != 0 && size <= room) {
      failure = reader.Integer(structure, field.c_str(), size, at);
    }
    if (failure) return failure;
  }
  return std::nullopt;
}

ReadFailure ReadImporting(const CallContext& context, const FunctionInterface& signature,
                          ::nw::RFC_FUNCTION_HANDLE function, RfcParameter* importing) {
  const FieldReader reader(context.api);
  for (RfcParameter* entry = importing; entry != nullptr && entry->name != nullptr; ++entry) {
    const ::nw::RFC_PARAMETER_DESC* parameter = signature.Received(entry->name);
    if (parameter == nullptr || entry->address == nullptr) continue;
    const std::u16string name = Utf16FromLatin1(entry->name);
    auto* out = static_cast<unsigned char*>(entry->address);
    ReadFailure failure;
    if (IsTextType(entry->type)) {
      failure = reader.Text(function, name.c_str(), parameter->nucLength, entry->length, out);
    } else if (const std::size_t size = IntegerSize(entry->type); size != 0) {
      if (entry->length == size) failure = reader.Integer(function, name.c_str(), size, out);
    } else if (const StructureDescription* description = context.structures.Find(entry->type)) {
      std::vector<unsigned char> bytes(entry->length, 0);
      failure = ReadStructure(context, function, name, *description, bytes);
      if (!failure) std::copy(bytes.begin(), bytes.end(), out);
    }
    if (failure) return failure;
  }
  return std::nullopt;
}

ReadFailure ReadTables(const CallContext& context, const FunctionInterface& signature,
                       ::nw::RFC_FUNCTION_HANDLE function, RfcTable* tables) {
  for (RfcTable* entry = tables; entry != nullptr && entry->name != nullptr; ++entry) {
    if (signature.Table(entry->name) == nullptr) continue;
    InternalTableRows* target = context.tables.Find(entry->table);
    if (target == nullptr) {
      return AdapterFailure("RFC_INVALID_HANDLE",
                            "table '" + std::string(entry->name) + "' has no valid handle");
    }
    if (entry->row_length != target->row_length) {
      return AdapterFailure("RFC_INVALID_PARAMETER",
                            "table '" + std::string(entry->name) + "' has row length " +
                                std::to_string(entry->row_length) + " for rows of " +
                                std::to_string(target->row_length) + " bytes");
    }
    const std::u16string name = Utf16FromLatin1(entry->name);
    ::nw::RFC_ERROR_INFO info{};
    ::nw::RFC_TABLE_HANDLE table = nullptr;
    if (context.api.get_table(function, name.c_str(), &table, &info) != ::nw::RFC_OK) {
      return FromNetWeaver(info);
    }
    if (ReadFailure failure = FillTable(context.api, table, *target)) return failure;
  }
  return std::nullopt;
}

}  // namespace

const ::nw::RFC_PARAMETER_DESC* FunctionInterface::Sent(const std::string& name) const {
  return FindParameter(*this, name, [](::nw::RFC_DIRECTION direction) {
    return direction == ::nw::RFC_IMPORT || direction == ::nw::RFC_CHANGING;
  });
}

const ::nw::RFC_PARAMETER_DESC* FunctionInterface::Received(const std::string& name) const {
  return FindParameter(*this, name, [](::nw::RFC_DIRECTION direction) {
    return direction == ::nw::RFC_EXPORT || direction == ::nw::RFC_CHANGING;
  });
}

const ::nw::RFC_PARAMETER_DESC* FunctionInterface::Table(const std::string& name) const {
  return FindParameter(*this, name,
                       [](::nw::RFC_DIRECTION direction) { return direction == ::nw::RFC_TABLES; });
}

CallOutcome OutcomeOf(const ::nw::RFC_ERROR_INFO& info) {
  CallOutcome outcome;
  outcome.error = FromNetWeaver(info);
  switch (info.code) {
    case ::nw::RFC_ABAP_EXCEPTION:
      outcome.code = kRfcException;
      outcome.exception = outcome.error->key;
      break;
    case ::nw::RFC_ABAP_RUNTIME_FAILURE:
    case ::nw::RFC_ABAP_MESSAGE:
      outcome.code = kRfcSysException;
      outcome.exception = outcome.error->key;
      break;
    default:
      outcome.code = kRfcFailure;
      break;
  }
  return outcome;
}

std::optional<CallOutcome> LoadInterface(const EntryPoints& api,
                                         ::nw::RFC_CONNECTION_HANDLE connection,
                                         const std::string& function, FunctionInterface& loaded) {
  const std::u16string name = Utf16FromLatin1(function);
  ::nw::RFC_ERROR_INFO info{};
  FunctionInterface signature;
  signature.description = api.get_function_desc(connection, name.c_str(), &info);
  if (signature.description == nullptr) return OutcomeOf(info);
  unsigned count = 0;
  if (api.get_parameter_count(signature.description, &count, &info) != ::nw::RFC_OK) {
    return OutcomeOf(info);
  }
  signature.parameters.assign(count, ::nw::RFC_PARAMETER_DESC{});
  for (unsigned i = 0; i < count; ++i) {
    if (api.get_parameter_desc_by_index(signature.description, i, &signature.parameters[i],
                                        &info) != ::nw::RFC_OK) {
      return OutcomeOf(info);
    }
  }
  loaded = std::move(signature);
  return std::nullopt;
}

CallOutcome PerformCall(const CallContext& context, const FunctionInterface& signature,
                        const PendingCall& call, RfcParameter* importing, RfcTable* tables) {
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_FUNCTION_HANDLE handle = context.api.create_function(signature.description, &info);
  if (handle == nullptr) return OutcomeOf(info);
  const FunctionContainer function(context.api, handle);

  if (std::optional<CallOutcome> failed = SetExporting(context, signature, call, handle)) {
    return std::move(*failed);
  }
  if (context.api.invoke(context.connection, handle, &info) != ::nw::RFC_OK) {
    return OutcomeOf(info);
  }
  if (ReadFailure failure = ReadImporting(context, signature, handle, importing)) {
    return Failed(std::move(*failure));
  }
  if (ReadFailure failure = ReadTables(context, signature, handle, tables)) {
    return Failed(std::move(*failure));
  }
  return {};
}

}  // namespace rfc::nw
