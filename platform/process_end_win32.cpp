#include <windows.h>

#include <cstdlib>

#include "platform/process_end.h"

namespace platform {

void EndProcessNow(int exit_code) {
  // Another thread may be blocked inside SAP's library, possibly holding
  // the loader lock or one of the library's own. ExitProcess would run every
  // DLL's detach code, which can wait for that lock for ever; terminating
  // the own process runs none of it.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exit_code));
  // Not reached: TerminateProcess on the own process does not return.
  std::_Exit(exit_code);
}

void EndAtOnceOnCrash() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

}  // namespace platform
