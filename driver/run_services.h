// What a run talks to outside its own state: the RFC library and the two
// standard streams, and, for a run with a deadline, the guarded standard
// output and where the run stands. The driver builds it; tests hand in
// fakes.
#pragma once

#include <string>

#include "driver/run_progress.h"
#include "output/guarded_output.h"
#include "output/output_sink.h"
#include "rfc/sap_library.h"

namespace driver {

struct RunServices {
  rfc::SapLibrary& rfc;
  output::OutputSink& out;  // standard output: console lines and the result document
  output::OutputSink& err;  // standard error: trace lines and the abort log
  // `out` itself when the program's standard output is guarded for a
  // deadline; null in tests, which run without one.
  output::GuardedOutput* guarded_out = nullptr;
  // Where the run stands, while a deadline watches it; null otherwise.
  RunProgress* progress = nullptr;
  // The Linux program reads the command line's names as Linux does ("/"
  // separates directories) and never searches PRTG's Windows directories
  // (config::ProfileSearch); the Windows program, and the test build that
  // stands in for it on simulated drives, follow PRTG.
  bool linux_names = false;
};

// Tells the deadline, if there is one, what the run waits for now.
inline void ReportStep(RunServices& services, const std::string& destination,
                       const std::string& step) {
  if (services.progress != nullptr) services.progress->At(destination, step);
}

}  // namespace driver
