#include "tests/rfc/fake_rfc_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace fake {
namespace {

std::optional<std::string> TextOrAbsent(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::vector<Parameter> CopyParameters(const RfcParameter* list) {
  std::vector<Parameter> copied;
  if (list == nullptr) {
    ADD_FAILURE() << "a parameter list is null";
    return copied;
  }
  for (; list->name != nullptr; ++list) {
    std::string value;
    if (list->address != nullptr) {
      value.assign(static_cast<const char*>(list->address), list->length);
    }
    copied.push_back({list->name, list->name_length, list->type, list->length, value});
  }
  return copied;
}

}  // namespace

int FakeRfcLibrary::Count(const std::string& entry) const {
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

int FakeRfcLibrary::Created(const std::string& name) const {
  return static_cast<int>(std::count_if(
      tables_.begin(), tables_.end(), [&name](const InternalTable& t) { return t.name == name; }));
}

std::vector<std::string> FakeRfcLibrary::LogOf(const std::string& prefix) const {
  std::vector<std::string> entries;
  for (const std::string& entry : log) {
    if (entry.starts_with(prefix)) entries.push_back(entry);
  }
  return entries;
}

void FakeRfcLibrary::Environment(RfcErrorHandler handler) {
  log.push_back("RfcEnvironment");
  error_handler = handler;
}

RfcHandle FakeRfcLibrary::Open(OpenOptions* options) {
  log.push_back("RfcOpen");
  open_options = options;
  OpenRecord record{};
  record.destination = TextOrAbsent(options->destination);
  record.mode = options->mode;
  record.client = TextOrAbsent(options->client);
  record.user = TextOrAbsent(options->user);
  record.password = TextOrAbsent(options->password);
  record.language = TextOrAbsent(options->language);
  record.trace = options->trace;
  if (options->mode == 1) {
    const auto* gateway = static_cast<const GatewayAddress*>(options->connection);
    record.gateway_host = TextOrAbsent(gateway->gateway_host);
    record.gateway_service = TextOrAbsent(gateway->gateway_service);
  } else {
    const auto* server = static_cast<const ServerAddress*>(options->connection);
    record.host = TextOrAbsent(server->host);
    record.system_number = server->system_number;
    record.gateway_host = TextOrAbsent(server->gateway_host);
    record.gateway_service = TextOrAbsent(server->gateway_service);
  }
  open = record;
  return open_handle;
}

RfcHandle FakeRfcLibrary::OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) {
  log.push_back("RfcOpenEx");
  EXPECT_NE(error_info, nullptr);
  open_ex_text = TextOrAbsent(connection_text);
  return open_handle;
}

void FakeRfcLibrary::Close(RfcHandle handle) {
  log.push_back("RfcClose " + std::to_string(handle));
}

int FakeRfcLibrary::LastError(RfcErrorInfo* error_info) {
  log.push_back("RfcLastError");
  const auto* bytes = reinterpret_cast<const unsigned char*>(error_info);
  last_error_record_was_zeroed =
      std::all_of(bytes, bytes + sizeof(RfcErrorInfo), [](unsigned char b) { return b == 0; });
  std::memcpy(error_info, &last_error, sizeof(RfcErrorInfo));
  return 0;
}

int FakeRfcLibrary::InstallStructure(const char* name, const RfcTypeElement* elements,
                                     unsigned element_count, RfcTypeHandle* type_handle) {
  log.push_back(std::string("RfcInstallStructure ") + name);
  Structure structure{name, {}};
  for (unsigned i = 0; i < element_count; ++i) {
    const RfcTypeElement& e = elements[i];
    structure.elements.push_back({e.name, e.type, e.length, e.decimals, e.offset});
  }
  structures.push_back(structure);
  if (failing_structures.contains(name)) return 1;
  *type_handle = next_type_++;
  return 0;
}

int FakeRfcLibrary::Call(RfcHandle handle, const char* function, RfcParameter* exporting,
                         RfcTable* tables) {
  log.push_back(std::string("RfcCall ") + function);
  current_function_ = function;
  RemoteCall call;
  call.handle = handle;
  call.function = function;
  call.exporting = CopyParameters(exporting);
  call.table_list = tables;
  for (const RfcTable* t = tables; t != nullptr && t->name != nullptr; ++t) {
    const InternalTable* table = Find(t->table, "RfcCall");
    if (table != nullptr && t->row_length != table->row_length) {
      ADD_FAILURE() << "table entry " << t->name << " gives row length " << t->row_length
                    << " for a table created with " << table->row_length;
    }
    call.tables.push_back({t->name, t->name_length, t->type, table ? table->name : ""});
  }
  calls.push_back(call);
  auto result = call_result.find(function);
  return result == call_result.end() ? 0 : result->second;
}

int FakeRfcLibrary::Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                            char** exception_name) {
  log.push_back("RfcReceive");
  if (calls.empty() || calls.back().received || calls.back().handle != handle) {
    ADD_FAILURE() << "RfcReceive without its RfcCall on handle " << handle;
    return 1;
  }
  RemoteCall& call = calls.back();
  call.received = true;
  call.importing = CopyParameters(importing);
  call.receive_table_list = tables;

  auto found = receive_result.find(current_function_);
  const int code = found == receive_result.end() ? 0 : found->second;
  if (code == 0) {
    for (RfcParameter* p = importing; p != nullptr && p->name != nullptr; ++p) {
      auto answer = importing_answer.find(p->name);
      if (answer != importing_answer.end()) {
        std::memcpy(p->address, answer->second.data(),
                    std::min<std::size_t>(answer->second.size(), p->length));
      }
    }
    for (RfcTable* t = tables; t != nullptr && t->name != nullptr; ++t) {
      InternalTable* table = Find(t->table, "RfcReceive");
      auto answer = rows.find(t->name);
      if (table == nullptr || answer == rows.end()) continue;
      for (std::string row : answer->second) {
        row.resize(table->row_length, '\0');
        table->rows.push_back(row);
      }
    }
  }
  auto name = exception.find(current_function_);
  if (name != exception.end() && name->second) {
    exception_text_ = *name->second;
    *exception_name = exception_text_.data();
  } else {
    *exception_name = nullptr;
  }
  return code;
}

ItabHandle FakeRfcLibrary::ItCreate(const char* name, unsigned row_length) {
  log.push_back(std::string("ItCreate ") + name + " " + std::to_string(row_length));
  if (failing_creates.contains(name)) return nullptr;
  tables_.push_back({name, row_length, {}, false});
  return &tables_.back();
}

unsigned FakeRfcLibrary::ItFill(ItabHandle handle) {
  InternalTable* table = Find(handle, "ItFill");
  if (table == nullptr) return 0;
  log.push_back("ItFill " + table->name);
  return static_cast<unsigned>(table->rows.size());
}

void* FakeRfcLibrary::ItGetLine(ItabHandle handle, unsigned row) {
  InternalTable* table = Find(handle, "ItGetLine");
  if (table == nullptr) return nullptr;
  log.push_back("ItGetLine " + table->name + " " + std::to_string(row));
  auto failing = failing_row.find(table->name);
  if (failing != failing_row.end() && failing->second == row) return nullptr;
  if (row < 1 || row > table->rows.size()) {
    ADD_FAILURE() << "row " << row << " of " << table->name << " does not exist";
    return nullptr;
  }
  return table->rows[row - 1].data();
}

int FakeRfcLibrary::ItDelete(ItabHandle handle) {
  InternalTable* table = Find(handle, "ItDelete");
  if (table == nullptr) return 1;
  log.push_back("ItDelete " + table->name);
  table->deleted = true;
  return failing_deletes.contains(table->name) ? 1 : 0;
}

FakeRfcLibrary::InternalTable* FakeRfcLibrary::Find(ItabHandle handle, const char* operation) {
  for (InternalTable& table : tables_) {
    if (&table == handle) {
      if (table.deleted) {
        ADD_FAILURE() << operation << " on the deleted table " << table.name;
        return nullptr;
      }
      return &table;
    }
  }
  ADD_FAILURE() << operation << " on an unknown table handle";
  return nullptr;
}

}  // namespace fake
