#include "rfcsim/nw/simulator.h"

#include <cstring>
#include <variant>

#include "rfcsim/nw/containers.h"
#include "rfcsim/nw/error_info.h"
#include "rfcsim/nw/logon_parameters.h"
#include "rfcsim/nw/utf16.h"

namespace rfcsim::nw {
namespace {

// The engine's logon errors by key: a refused logon, a caller's mistake, or
// (anything else, "partner not reached" and most faults) the network.
RFC_RC RefusedLogon(RFC_ERROR_INFO* error, const ErrorTexts& texts) {
  if (texts.key.find("LOGON") != std::string::npos) {
    return SetError(error, RFC_LOGON_FAILURE, LOGON_FAILURE, texts.key, texts.message);
  }
  if (texts.key == "RFC_ERROR_PROGRAM") {
    return SetError(error, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, texts.key,
                    texts.message);
  }
  return SetError(error, RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, texts.key,
                  texts.message);
}

// A failed classic call: result 2 is an ABAP exception (its name as key),
// 3 a system failure in the partner, anything else the network.
RFC_RC FailedCall(RFC_ERROR_INFO* error, const CallResult& call) {
  switch (call.result) {
    case 2:
      return SetError(error, RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE,
                      call.exception.value_or(""), call.error.message);
    case 3:
      return SetError(error, RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE,
                      call.exception.value_or(""), call.error.message);
    default:
      return SetError(error, RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, call.error.key,
                      call.error.message);
  }
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const auto slash = path.find('/');
    parts.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

Slot* TextSlot(Record& record, std::string_view name) {
  Slot* slot = record.Find(Latin1ToUtf16(name));
  return slot && IsTextType(slot->type) ? slot : nullptr;
}

}  // namespace

Simulator::Simulator(NwLandscapeLoad load, std::string record_path)
    : wide_texts_(std::move(load.wide_texts)),
      bridge_(std::move(load.landscape), std::move(record_path)) {}

RFC_CONNECTION_HANDLE Simulator::Open(const RFC_CONNECTION_PARAMETER* parameters, unsigned count,
                                      RFC_ERROR_INFO* error) {
  auto request = ReadLogonParameters(parameters, count);
  if (const auto* problem = std::get_if<std::string>(&request)) {
    SetError(error, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_PARAMETER",
             *problem);
    return nullptr;
  }
  const LogonResult logon = bridge_.Open(std::get<LogonRequest>(request));
  if (logon.handle == 0) {
    RefusedLogon(error, logon.error);
    return nullptr;
  }
  auto connection = std::make_unique<Connection>(Connection{logon.handle, logon.system_index});
  const Connection* key = connection.get();
  connections_.emplace(key, std::move(connection));
  ClearError(error);
  return reinterpret_cast<RFC_CONNECTION_HANDLE>(const_cast<Connection*>(key));
}

Simulator::Connection* Simulator::Find(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* error) {
  const auto it = connections_.find(reinterpret_cast<const Connection*>(handle));
  if (it != connections_.end()) return it->second.get();
  SetError(error, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
           "An invalid handle was passed to the API call");
  return nullptr;
}

RFC_RC Simulator::Close(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* error) {
  const Connection* connection = Find(handle, error);
  if (!connection) return RFC_INVALID_HANDLE;
  bridge_.Close(connection->classic);
  connections_.erase(connection);
  ClearError(error);
  return RFC_OK;
}

RFC_FUNCTION_DESC_HANDLE Simulator::FunctionDesc(RFC_CONNECTION_HANDLE handle, const SAP_UC* name,
                                                 RFC_ERROR_INFO* error) {
  if (!Find(handle, error)) return nullptr;
  const std::string module = Utf16ToLatin1(TerminatedText(name));
  const FunctionDescription* function = FindFunctionDescription(module);
  if (!function) {
    SetError(error, RFC_NOT_FOUND, ABAP_APPLICATION_FAILURE, "FU_NOT_FOUND",
             "ID:FL Type:E Number:046 " + module);
    return nullptr;
  }
  ClearError(error);
  return HandleOf(*function);
}

RFC_RC Simulator::Invoke(RFC_CONNECTION_HANDLE handle, RFC_FUNCTION_HANDLE function_handle,
                         RFC_ERROR_INFO* error) {
  Connection* connection = Find(handle, error);
  if (!connection) return RFC_INVALID_HANDLE;
  Container* container = Container::FromHandle(function_handle);
  auto* function = dynamic_cast<Record*>(container);
  if (!function || !function->Function()) {
    return SetError(error, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
                    "not a function handle");
  }
  const FunctionDescription& description = *function->Function();
  std::map<std::string, std::string, std::less<>> imports;
  for (std::size_t i = 0; i < description.parameters.size(); ++i) {
    const Slot& slot = function->slots()[i];
    if (description.parameters[i].direction == RFC_IMPORT && IsTextType(slot.type)) {
      imports[Utf16ToLatin1(slot.name)] = Utf16ToLatin1(slot.text);
    }
  }
  const CallResult call = bridge_.Call(connection->classic, *description.module, imports);
  if (call.result != 0) return FailedCall(error, call);
  TakeAnswer(*connection, call.answer, *function);
  ClearError(error);
  return RFC_OK;
}

void Simulator::TakeAnswer(const Connection& connection, const ClassicAnswer& answer,
                           Record& function) {
  const FunctionDescription& description = *function.Function();
  for (std::size_t i = 0; i < description.parameters.size(); ++i) {
    Slot& slot = function.slots()[i];
    const std::string name = Utf16ToLatin1(slot.name);
    if (slot.table) {
      slot.table->Clear();
      const auto rows = answer.tables.find(name);
      if (rows == answer.tables.end()) continue;
      for (const Bytes& row : rows->second) slot.table->Append().ReadClassic(row);
      continue;
    }
    const auto bytes = answer.importing.find(name);
    if (bytes == answer.importing.end()) continue;
    if (slot.structure) {
      slot.structure->ReadClassic(bytes->second);
    } else if (slot.type == RFCTYPE_INT && bytes->second.size() == 4) {
      std::int32_t value;
      std::memcpy(&value, bytes->second.data(), sizeof value);
      slot.number = value;
    } else if (IsTextType(slot.type)) {
      slot.text =
          Fitted(Latin1ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes->second.data()),
                                                bytes->second.size())),
                 slot.length);
    }
  }
  TakeWideTexts(connection, function);
}

void Simulator::TakeWideTexts(const Connection& connection, Record& function) {
  if (!connection.system_index) return;
  const std::string prefix = AnswerPointer(*connection.system_index, function.Function()->name);
  for (auto it = wide_texts_.lower_bound(prefix);
       it != wide_texts_.end() && it->first.starts_with(prefix); ++it) {
    const std::vector<std::string_view> parts =
        SplitPath(std::string_view(it->first).substr(prefix.size()));
    Slot* slot = nullptr;
    if (parts.size() == 2 && parts[0] == "importing") {
      slot = TextSlot(function, parts[1]);
    } else if (parts.size() == 3 && parts[0] == "importing") {
      Slot* structure = function.Find(Latin1ToUtf16(parts[1]));
      if (structure && structure->structure) slot = TextSlot(*structure->structure, parts[2]);
    } else if (parts.size() == 4 && parts[0] == "tables") {
      Slot* table = function.Find(Latin1ToUtf16(parts[1]));
      const std::size_t row = std::strtoul(std::string(parts[2]).c_str(), nullptr, 10);
      if (table && table->table && row < table->table->row_count()) {
        slot = TextSlot(table->table->row(row), parts[3]);
      }
    }
    if (slot) slot->text = Fitted(it->second, slot->length);
  }
}

}  // namespace rfcsim::nw
