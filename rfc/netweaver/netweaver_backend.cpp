#include "rfc/netweaver/netweaver_backend.h"

#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "rfc/netweaver/answer_reader.h"
#include "rfc/netweaver/logon_parameters.h"
#include "rfc/netweaver/module_call.h"
#include "rfc/netweaver/step_failure.h"
#include "rfc/netweaver/text_conversion.h"
#include "rfc/netweaver/trace_block.h"

namespace rfc::nw {
namespace {

// RFCSI's fields as wide as the classic structure holds them.
constexpr std::size_t kHostWidth = 8;
constexpr std::size_t kDatabaseSystemWidth = 10;

template <class Answer>
using Read = std::variant<Answer, RemoteFailure>;

template <class Answer>
StepResult<Answer> AsStepResult(Read<Answer> read) {
  if (auto* failure = std::get_if<RemoteFailure>(&read)) return std::move(*failure);
  return std::move(std::get<Answer>(read));
}

Read<SystemInfo> ReadRfcsi(const EntryPoints& api, const ModuleCall& call) {
  // A module without the structure leaves the classic record empty.
  if (!call.Exports(u"RFCSI_EXPORT")) return SystemInfo{};
  AnswerReader reader(api);
  const ::nw::RFC_STRUCTURE_HANDLE rfcsi = reader.Structure(call.function(), u"RFCSI_EXPORT");
  SystemInfo info;
  info.host = reader.Text(rfcsi, u"RFCHOST", kHostWidth);
  info.database_system = reader.Text(rfcsi, u"RFCDBSYS", kDatabaseSystemWidth);
  if (reader.failure()) return *reader.failure();
  return info;
}

Read<std::vector<FillingRow>> ReadDevstat(const EntryPoints& api, const ModuleCall& call) {
  std::vector<FillingRow> rows;
  if (!call.HasTable(u"DEVSTAT")) return rows;
  AnswerReader reader(api);
  const ::nw::RFC_TABLE_HANDLE table = reader.Table(call.function(), u"DEVSTAT");
  const unsigned count = reader.RowCount(table);
  for (unsigned index = 0; index < count && !reader.failure(); ++index) {
    const ::nw::RFC_STRUCTURE_HANDLE fields = reader.Row(table, index);
    // In the order of the row's fields.
    FillingRow& row = rows.emplace_back();
    row.total = reader.Size(fields, u"CONF_SIZE");
    row.used = reader.Size(fields, u"PAG");
    row.used_percent = reader.Integer(fields, u"PAGESx");
    row.perm_used = reader.Size(fields, u"PERM_USED");
    row.perm_used_percent = reader.Integer(fields, u"PERMx_USED");
    row.temp_used = reader.Size(fields, u"TEMP_USED");
    row.temp_used_percent = reader.Integer(fields, u"TEMPx_USED");
    row.free = reader.Size(fields, u"UN_USED");
    row.free_percent = reader.Integer(fields, u"UNx_USED");
  }
  if (reader.failure()) return *reader.failure();
  return rows;
}

class NetWeaverConnection final : public SapConnection {
 public:
  NetWeaverConnection(const EntryPoints& api, ::nw::RFC_CONNECTION_HANDLE handle, unsigned number,
                      TraceWriter trace, TraceFile& trace_file)
      : api_(api),
        handle_(handle),
        number_(number),
        trace_(std::move(trace)),
        trace_file_(trace_file) {}

  ~NetWeaverConnection() override {
    ::nw::RFC_ERROR_INFO ignored{};
    api_.close_connection(handle_, &ignored);
  }

  NetWeaverConnection(const NetWeaverConnection&) = delete;
  NetWeaverConnection& operator=(const NetWeaverConnection&) = delete;

  StepResult<ProbeAnswer> Probe() override {
    // The local server's data, no logical destination: the texts as wide as
    // the module's parameters.
    const std::string no_destination(32, ' ');
    const SentText texts[] = {{"LOCAL_REMOTE", "LOCAL "}, {"LOGICAL_DESTINATION", no_destination}};
    return AsStepResult(Step("GET_CPU_ALL", texts,
                             [](const ModuleCall&) -> Read<ProbeAnswer> { return ProbeAnswer{}; }));
  }

  StepResult<SystemInfo> ReadSystemInfo() override {
    return AsStepResult(Step("RFC_SYSTEM_INFO", {},
                             [this](const ModuleCall& call) { return ReadRfcsi(api_, call); }));
  }

  StepResult<FillingRead> ReadFilling(const FillingRowHandler& each_row) override {
    Read<std::vector<FillingRow>> read = Step(
        "ADA_DB_FILLING", {}, [this](const ModuleCall& call) { return ReadDevstat(api_, call); });
    if (auto* failure = std::get_if<RemoteFailure>(&read)) return std::move(*failure);
    // The rows go out only once all of them are read: a row that cannot be
    // read fails the step before any is reported.
    const auto& rows = std::get<std::vector<FillingRow>>(read);
    for (const FillingRow& row : rows) each_row(row);
    return FillingRead{static_cast<unsigned>(rows.size())};
  }

 private:
  // Calls `module` and reads its answer with `read`. The trace lines are
  // those of the classic pair: "RfcCall" first, "RfcReceive" once the
  // answer is read or the step failed; the failure goes to the trace file
  // as RfcReceive's.
  template <class ReadAnswer, class Result = std::invoke_result_t<ReadAnswer, const ModuleCall&>>
  Result Step(std::string_view module, std::span<const SentText> texts, ReadAnswer read) {
    Trace("RfcCall called");
    Result result = [&]() -> Result {
      ModuleCall call(api_, handle_);
      if (std::optional<RemoteFailure> failure = call.Invoke(module, texts)) return *failure;
      return read(call);
    }();
    if (auto* failure = std::get_if<RemoteFailure>(&result)) {
      result = Recorded(std::move(*failure), "RfcReceive " + std::string(module), trace_file_);
    }
    Trace("RfcReceive called");
    return result;
  }

  // "<number> <event> " and a line feed, as the sensor's ",SYSLOG" lines.
  void Trace(std::string_view event) const {
    if (trace_) trace_(std::to_string(number_) + " " + std::string(event) + " \n");
  }

  const EntryPoints& api_;
  const ::nw::RFC_CONNECTION_HANDLE handle_;
  const unsigned number_;
  const TraceWriter trace_;
  TraceFile& trace_file_;
};

class NetWeaverBackend final : public SapLibrary {
 public:
  explicit NetWeaverBackend(const EntryPoints& api) : api_(api) {}

  // No failure of this library calls for the RFC error report.
  void PrepareErrorReport(std::function<void(const LibraryFailure&)>) override {}

  // The library takes every password whole, as one UTF-16 parameter.
  std::optional<PasswordRefusal> RefusedPassword(const Logon&) const override {
    return std::nullopt;
  }

  // Connections are numbered 1, 2, 3... in the order opened, as the trace
  // lines have always shown them; a logon that fails is 0 there. A failed
  // logon leaves its block in the trace file under the classic operation's
  // name.
  std::unique_ptr<SapConnection> Open(const Logon& logon, const TraceWriter& trace) override {
    const bool by_address = std::holds_alternative<AddressLogon>(logon);
    const LogonRequest parameters = by_address
                                        ? LogonFromAddress(std::get<AddressLogon>(logon))
                                        : LogonFromDestination(std::get<DestinationLogon>(logon));
    std::unique_ptr<SapConnection> connection;
    std::string message;
    if (const auto* refusal = std::get_if<LogonRefusal>(&parameters)) {
      message = refusal->message;
    } else {
      const auto records = std::get<LogonParameters>(parameters).Records();
      ::nw::RFC_ERROR_INFO info{};
      const ::nw::RFC_CONNECTION_HANDLE handle =
          api_.open_connection(records.data(), static_cast<unsigned>(records.size()), &info);
      if (handle != nullptr) {
        connection =
            std::make_unique<NetWeaverConnection>(api_, handle, ++opened_, trace, trace_file_);
      } else {
        message = Latin1FromUtf16(TerminatedText(info.message));
      }
    }
    const char* operation = by_address ? "RfcOpen" : "RfcOpenEx";
    if (!connection) trace_file_.Append(operation, message);
    if (trace) {
      trace(std::to_string(connection ? opened_ : 0) + " " + operation + " called \n");
    }
    return connection;
  }

 private:
  const EntryPoints& api_;
  unsigned opened_ = 0;
  TraceFile trace_file_;
};

}  // namespace

std::unique_ptr<SapLibrary> MakeNetWeaverBackend(const EntryPoints& api) {
  return std::make_unique<NetWeaverBackend>(api);
}

}  // namespace rfc::nw
