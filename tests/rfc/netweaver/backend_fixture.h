// The NetWeaver backend on the fake NetWeaver library, in a scratch working
// directory (the backend writes its trace file there), with the trace lines
// it writes collected.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "config/file_names.h"
#include "output/texts.h"
#include "rfc/netweaver/netweaver_backend.h"
#include "rfc/return_code_text.h"
#include "rfc/trace_file_scan.h"
#include "tests/rfc/netweaver/fake_netweaver.h"
#include "tests/support/scratch_dir.h"

inline void WriteFile(std::string_view path, std::string_view bytes) {
  std::ofstream file{std::filesystem::path(path), std::ios::binary | std::ios::trunc};
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct BackendFixture {
  ScratchDir scratch;
  // The scratch directory as the working directory, for the fixture's life.
  struct WorkingDirectory {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit WorkingDirectory(const std::string& path) { std::filesystem::current_path(path); }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
  } in{scratch.path()};
  rfc::nw::EntryPoints api = (fake_nw::Reset(), fake_nw::EntryPoints());
  std::unique_ptr<rfc::SapLibrary> library = rfc::nw::MakeNetWeaverBackend(api);
  std::string trace_lines;
  rfc::TraceWriter trace = [this](std::string_view line) { trace_lines += line; };

  // The profile's address of the fake partner.
  static rfc::AddressLogon Address() {
    return {.destination = "PRD",
            .client = "100",
            .user = "MONITOR",
            .password = "secret",
            .language = "E",
            .mode = "",
            .host = "sapprd01",
            .system_number = "00",
            .gateway_host = "",
            .gateway_service = ""};
  }

  std::unique_ptr<rfc::SapConnection> Connect() { return library->Open(Address(), trace); }

  // The failure text the sensor composed from its reading of the trace
  // file, for a failure of `failure`'s code and exception.
  static std::string ScannedFailureText(const rfc::RemoteFailure& failure) {
    rfc::RemoteFailure scanned{failure.code, failure.exception, "", false};
    if (std::optional<std::string> message = rfc::ScanTraceFile()) {
      scanned.message = *message;
    } else {
      scanned.trace_file_missing = true;
    }
    return rfc::FailureText(scanned);
  }

  static std::string TraceFile() {
    std::ifstream file{std::filesystem::path(config::file_names::kTraceFile), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
};
