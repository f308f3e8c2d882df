#include "rfc/netweaver/netweaver_library.h"

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "rfc/netweaver/adapter_error.h"
#include "rfc/netweaver/function_call.h"
#include "rfc/netweaver/internal_tables.h"
#include "rfc/netweaver/logon_parameters.h"
#include "rfc/netweaver/structure_registry.h"
#include "rfc/netweaver/trace_block.h"

namespace rfc::nw {
namespace {

constexpr const char* kInvalidHandleKey = "RFC_INVALID_HANDLE";
constexpr const char* kInvalidParameterKey = "RFC_INVALID_PARAMETER";

struct Connection {
  ::nw::RFC_CONNECTION_HANDLE handle = nullptr;
  std::map<std::string, FunctionInterface> interfaces;
  std::optional<PendingCall> pending;
};

class NetWeaverLibrary final : public RfcLibrary {
 public:
  explicit NetWeaverLibrary(const EntryPoints& api) : api_(api) {}

  ~NetWeaverLibrary() override {
    for (auto& [number, connection] : connections_) {
      ::nw::RFC_ERROR_INFO ignored{};
      api_.close_connection(connection.handle, &ignored);
    }
  }

  void Environment(RfcErrorHandler error_handler) override { error_handler_ = error_handler; }

  RfcHandle Open(OpenOptions* options) override {
    return OpenWith(LogonFromOptions(options), "RfcOpen", nullptr);
  }

  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override {
    return OpenWith(LogonFromConnectionText(connection_text), "RfcOpenEx", error_info);
  }

  void Close(RfcHandle handle) override {
    const auto it = connections_.find(handle);
    if (it == connections_.end()) return;
    ::nw::RFC_ERROR_INFO ignored{};
    api_.close_connection(it->second.handle, &ignored);
    connections_.erase(it);
  }

  int LastError(RfcErrorInfo* error_info) override {
    if (error_info == nullptr) return 1;
    FillLastError(last_error_, *error_info);
    return 0;
  }

  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override {
    if (type_handle == nullptr || (elements == nullptr && element_count != 0)) {
      Fail("RfcInstallStructure", AdapterFailure(kInvalidParameterKey,
                                                 "RfcInstallStructure without elements or "
                                                 "type handle"));
      return 1;
    }
    *type_handle = structures_.Install(name, elements, element_count);
    return 0;
  }

  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* /*tables*/) override {
    Connection* connection = FindConnection(handle, "RfcCall");
    if (connection == nullptr) return kRfcFailure;
    if (function == nullptr) {
      Fail("RfcCall", AdapterFailure(kInvalidParameterKey, "RfcCall without a function name"));
      return kRfcFailure;
    }
    PendingCall call;
    call.function = function;
    for (RfcParameter* entry = exporting; entry != nullptr && entry->name != nullptr; ++entry) {
      const std::size_t name_length = std::strlen(entry->name);
      if (entry->name_length != name_length) {
        Fail("RfcCall " + call.function,
             AdapterFailure(kInvalidParameterKey,
                            "'" + std::string(entry->name) + "' has name length " +
                                std::to_string(entry->name_length) + " for a name of " +
                                std::to_string(name_length) + " characters"));
        return kRfcFailure;
      }
      const char* bytes = static_cast<const char*>(entry->address);
      call.exporting.push_back(
          {entry->name, entry->type, bytes != nullptr ? std::string(bytes, entry->length) : ""});
    }
    connection->pending = std::move(call);
    return kRfcOk;
  }

  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception) override {
    Connection* connection = FindConnection(handle, "RfcReceive");
    if (connection == nullptr) return kRfcFailure;
    if (!connection->pending) {
      Fail("RfcReceive",
           AdapterFailure("RFC_ILLEGAL_STATE", "RfcReceive without a preceding RfcCall"));
      return kRfcFailure;
    }
    const PendingCall call = std::move(*connection->pending);
    connection->pending.reset();
    const std::string operation = "RfcReceive " + call.function;

    CallOutcome outcome;
    auto known = connection->interfaces.find(call.function);
    if (known == connection->interfaces.end()) {
      FunctionInterface loaded;
      if (std::optional<CallOutcome> failed =
              LoadInterface(api_, connection->handle, call.function, loaded)) {
        outcome = std::move(*failed);
      } else {
        known = connection->interfaces.emplace(call.function, std::move(loaded)).first;
      }
    }
    if (outcome.code == kRfcOk) {
      const CallContext context{api_, connection->handle, structures_, tables_};
      outcome = PerformCall(context, known->second, call, importing, tables);
    }
    if (outcome.code == kRfcOk) return kRfcOk;
    Fail(operation, outcome.error.value_or(AdapterFailure("RFC_UNKNOWN_ERROR", operation)));
    if (outcome.code == kRfcException || outcome.code == kRfcSysException) {
      // Valid until the next RfcReceive, as the classic library's text.
      exception_text_ = std::move(outcome.exception);
      if (exception != nullptr) *exception = exception_text_.data();
    }
    return outcome.code;
  }

  ItabHandle ItCreate(const char* name, unsigned row_length) override {
    void* table = tables_.Create(name, row_length);
    if (table == nullptr) {
      Fail("ItCreate",
           AdapterFailure(kInvalidParameterKey,
                          "row length " + std::to_string(row_length) + " is not 1 to 65535"));
    }
    return table;
  }

  unsigned ItFill(ItabHandle table) override {
    const InternalTableRows* rows = FindTable(table, "ItFill");
    return rows != nullptr ? static_cast<unsigned>(rows->rows.size()) : 0;
  }

  void* ItGetLine(ItabHandle table, unsigned row) override {
    InternalTableRows* rows = FindTable(table, "ItGetLine");
    if (rows == nullptr) return nullptr;
    if (row == 0 || row > rows->rows.size()) {
      Fail("ItGetLine " + rows->name,
           AdapterFailure(kInvalidParameterKey, "row " + std::to_string(row) + " of table '" +
                                                    rows->name + "' does not exist"));
      return nullptr;
    }
    return rows->rows[row - 1].get();
  }

  int ItDelete(ItabHandle table) override {
    if (FindTable(table, "ItDelete") == nullptr) return 1;
    tables_.Delete(table);
    return 0;
  }

 private:
  RfcHandle OpenWith(std::variant<LogonParameters, LogonRefusal> logon, const char* operation,
                     RfcErrorInfoEx* error_info) {
    std::optional<AdapterError> error;
    ::nw::RFC_CONNECTION_HANDLE handle = nullptr;
    if (const auto* refusal = std::get_if<LogonRefusal>(&logon)) {
      error = AdapterFailure(kInvalidParameterKey, refusal->message);
    } else {
      const auto records = std::get<LogonParameters>(logon).Records();
      ::nw::RFC_ERROR_INFO info{};
      handle = api_.open_connection(records.data(), static_cast<unsigned>(records.size()), &info);
      if (handle == nullptr) error = FromNetWeaver(info);
    }
    if (error) {
      if (error_info != nullptr) FillOpenError(*error, *error_info);
      Fail(operation, std::move(*error));
      return 0;
    }
    const RfcHandle number = next_connection_++;
    connections_[number].handle = handle;
    return number;
  }

  Connection* FindConnection(RfcHandle handle, const char* operation) {
    const auto it = connections_.find(handle);
    if (it != connections_.end()) return &it->second;
    Fail(operation,
         AdapterFailure(kInvalidHandleKey, "invalid connection handle " + std::to_string(handle)));
    return nullptr;
  }

  // A table of the adapter's; any other handle is the caller's error,
  // reported through the error handler as well.
  InternalTableRows* FindTable(ItabHandle table, const char* operation) {
    if (InternalTableRows* rows = tables_.Find(table)) return rows;
    Fail(operation, AdapterFailure(kInvalidHandleKey, "invalid internal table handle"));
    if (error_handler_ != nullptr) {
      handler_text_ = operation;
      error_handler_(handler_text_.data());
    }
    return nullptr;
  }

  // A failure without a message leaves the trace file alone: a block with an
  // empty ERROR line would tell the reader of the trace less than none.
  void Fail(const std::string& operation, AdapterError error) {
    if (!error.message.empty()) AppendTraceBlock(operation, error.message);
    last_error_ = std::move(error);
  }

  const EntryPoints& api_;
  RfcErrorHandler error_handler_ = nullptr;
  std::map<RfcHandle, Connection> connections_;
  RfcHandle next_connection_ = 1;
  StructureRegistry structures_;
  InternalTables tables_;
  AdapterError last_error_;
  std::string exception_text_;
  std::string handler_text_;
};

}  // namespace

std::unique_ptr<RfcLibrary> MakeNetWeaverLibrary(const EntryPoints& api) {
  return std::make_unique<NetWeaverLibrary>(api);
}

}  // namespace rfc::nw
