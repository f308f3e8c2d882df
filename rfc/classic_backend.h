// The sensor's steps on SAP's classic library: the twelve operations of
// rfc_library.h, the failure message read from the library's trace file.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "rfc/open_connection.h"
#include "rfc/remote_call.h"
#include "rfc/rfc_library.h"
#include "rfc/sap_library.h"

namespace rfc::classic {

// Runs the steps on `operations`, which must outlive it. The library's
// error handler has no context: it reaches the last object whose error
// report was prepared, so a process holds one such object at a time.
class ClassicSapLibrary final : public SapLibrary {
 public:
  explicit ClassicSapLibrary(RfcLibrary& operations) : operations_(operations) {}
  ~ClassicSapLibrary() override;
  ClassicSapLibrary(const ClassicSapLibrary&) = delete;
  ClassicSapLibrary& operator=(const ClassicSapLibrary&) = delete;

  void PrepareErrorReport(std::function<void(const LibraryFailure&)> report_and_end) override;
  std::optional<PasswordRefusal> RefusedPassword(const Logon& logon) const override;
  std::unique_ptr<SapConnection> Open(const Logon& logon, const TraceWriter& trace) override;

  // The library's error handler: reads the failure of `operation`, hands it
  // to the report and ends the process with exit code 1.
  [[noreturn]] void EndWithError(const char* operation);

 private:
  RfcLibrary& operations_;
  std::function<void(const LibraryFailure&)> report_and_end_;
  StructureTypes types_;
  // The library may keep the pointers of an opening for the life of the
  // connection: one set of records serves every opening of the process.
  ConnectionRecords records_;
};

}  // namespace rfc::classic
