#include "rfc/classic_backend.h"

#include <cstdlib>
#include <utility>

#include "output/exit_codes.h"
#include "rfc/connection_probe.h"
#include "rfc/database_filling.h"
#include "rfc/system_info.h"

namespace rfc::classic {
namespace {

ClassicSapLibrary* error_report_owner = nullptr;

extern "C" void BW_RFC_CALL HandleRfcLibraryError(char* operation) {
  if (error_report_owner != nullptr) {
    error_report_owner->EndWithError(operation);
  }
  // The library gives no way back from its handler.
  std::exit(output::kExitRfcError);
}

class ClassicConnection final : public SapConnection {
 public:
  ClassicConnection(RfcLibrary& operations, RfcHandle handle, TraceWriter trace,
                    StructureTypes& types)
      : operations_(operations), handle_(handle), trace_(std::move(trace)), types_(types) {}
  ClassicConnection(const ClassicConnection&) = delete;
  ClassicConnection& operator=(const ClassicConnection&) = delete;

  ~ClassicConnection() override {
    // After a failure of the library's own the process ends with its
    // report; nothing more is asked of the library.
    if (!abandoned_) operations_.Close(handle_);
  }

  StepResult<ProbeAnswer> Probe() override { return Kept(ProbeServer(Context())); }
  StepResult<SystemInfo> ReadSystemInfo() override { return Kept(rfc::ReadSystemInfo(Context())); }
  StepResult<FillingRead> ReadFilling(const FillingRowHandler& each_row) override {
    return Kept(rfc::ReadFilling(Context(), each_row));
  }

 private:
  StepContext Context() { return StepContext{operations_, handle_, trace_, types_}; }

  template <class Answer>
  StepResult<Answer> Kept(StepResult<Answer> result) {
    if (std::holds_alternative<LibraryFailure>(result)) abandoned_ = true;
    return result;
  }

  RfcLibrary& operations_;
  RfcHandle handle_;
  TraceWriter trace_;
  StructureTypes& types_;
  bool abandoned_ = false;
};

}  // namespace

ClassicSapLibrary::~ClassicSapLibrary() {
  if (error_report_owner == this) error_report_owner = nullptr;
}

void ClassicSapLibrary::PrepareErrorReport(
    std::function<void(const LibraryFailure&)> report_and_end) {
  report_and_end_ = std::move(report_and_end);
  error_report_owner = this;
  operations_.Environment(&HandleRfcLibraryError);
}

std::optional<PasswordRefusal> ClassicSapLibrary::RefusedPassword(const Logon& logon) const {
  return RefusedByConnection(logon);
}

std::unique_ptr<SapConnection> ClassicSapLibrary::Open(const Logon& logon,
                                                       const TraceWriter& trace) {
  const RfcHandle handle = OpenConnection(operations_, logon, trace, records_);
  if (handle == 0) return nullptr;
  return std::make_unique<ClassicConnection>(operations_, handle, trace, types_);
}

void ClassicSapLibrary::EndWithError(const char* operation) {
  const LibraryFailure failure =
      ReadLibraryFailure(operations_, operation != nullptr ? operation : "");
  if (report_and_end_) report_and_end_(failure);
  std::exit(output::kExitRfcError);
}

}  // namespace rfc::classic
