// The NetWeaver adapter on the fake NetWeaver library, in a scratch working
// directory (the adapter writes its trace file there).
#pragma once

#include <memory>
#include <string>

#include "include/texts.h"
#include "rfc/netweaver/netweaver_library.h"
#include "rfc/trace_file_scan.h"
#include "tests/rfc/netweaver/fake_netweaver.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

struct AdapterFixture {
  ScratchDir scratch;
  WorkingDirectory in{scratch.path()};
  rfc::nw::EntryPoints api = (fake_nw::Reset(), fake_nw::EntryPoints());
  std::unique_ptr<rfc::RfcLibrary> library = rfc::nw::MakeNetWeaverLibrary(api);

  // A connection to the fake partner through RfcOpen.
  RfcHandle Connect() {
    ServerAddress server{"sapprd01", 0, nullptr, nullptr};
    OpenOptions options{"PRD", 0, &server, "100", "MONITOR     ", "secret    ", "E", 0};
    return library->Open(&options);
  }

  // What the sensor's trace scan makes of the trace file: " - " and the
  // last failure's message.
  static std::string TraceDiagnosis() {
    const std::optional<std::string> message = ScanTraceFile();
    return message ? ::TraceDiagnosis(*message) : std::string(texts::kLookForTraceFile);
  }
};
