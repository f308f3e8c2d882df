// The process exit codes the monitor sees.
#pragma once

namespace output {

enum ExitCode : int {
  kExitSuccess = 0,   // a result document with measurements
  kExitRfcError = 1,  // the RFC error report on the console
  kExitRunError = 2,  // the PRTG error document describes the failure
};

}  // namespace output
