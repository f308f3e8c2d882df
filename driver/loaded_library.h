// What the programs that load SAP's library at run time share: once Load
// has found a library and made a backend over it, every call goes there.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "rfc/sap_library.h"

namespace driver {

class LoadedLibrary : public rfc::SapLibrary {
 public:
  std::string LoadedFile() const override { return file_; }

  // Called only after Load has succeeded.
  void PrepareErrorReport(std::function<void(const rfc::LibraryFailure&)> report_and_end) override {
    backend_->PrepareErrorReport(std::move(report_and_end));
  }
  std::optional<rfc::PasswordRefusal> RefusedPassword(const rfc::Logon& logon) const override {
    return backend_->RefusedPassword(logon);
  }
  std::unique_ptr<rfc::SapConnection> Open(const rfc::Logon& logon,
                                           const rfc::TraceWriter& trace) override {
    return backend_->Open(logon, trace);
  }

 protected:
  bool Loaded() const { return backend_ != nullptr; }
  // The backend over the library loaded from `file`.
  void Use(std::unique_ptr<rfc::SapLibrary> backend, std::string file) {
    backend_ = std::move(backend);
    file_ = std::move(file);
  }

 private:
  // The library is never unloaded: the process ends first.
  std::unique_ptr<rfc::SapLibrary> backend_;
  std::string file_;
};

}  // namespace driver
