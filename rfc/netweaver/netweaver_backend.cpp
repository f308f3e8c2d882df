#include "rfc/netweaver/netweaver_backend.h"

#include <string>
#include <variant>

#include "rfc/netweaver/logon_parameters.h"
#include "rfc/netweaver/netweaver_connection.h"
#include "rfc/netweaver/text_conversion.h"
#include "rfc/netweaver/trace_block.h"

namespace rfc::nw {
namespace {

class NetWeaverBackend final : public SapLibrary {
 public:
  explicit NetWeaverBackend(const EntryPoints& api) : api_(api) {}

  // No failure of this library calls for the RFC error report.
  void PrepareErrorReport(std::function<void(const LibraryFailure&)>) override {}

  // Connections are numbered 1, 2, 3... in the order opened, as the trace
  // lines have always shown them; a logon that fails is 0 there. A failed
  // logon leaves its block in the trace file under the classic operation's
  // name.
  std::unique_ptr<SapConnection> Open(const Logon& logon, const TraceWriter& trace) override {
    const bool by_address = std::holds_alternative<AddressLogon>(logon);
    const std::variant<LogonParameters, LogonRefusal> parameters =
        by_address ? LogonFromAddress(std::get<AddressLogon>(logon))
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
        connection = MakeNetWeaverConnection(api_, handle, ++opened_, trace, trace_file_);
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
