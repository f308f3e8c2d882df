// Ending the process from any thread, at once.
#pragma once

namespace platform {

// Ends the process with `exit_code` without running anything more of it:
// no destructors, no atexit handlers and, on Windows, no DLL detach code.
// The caller has flushed what must be seen.
[[noreturn]] void EndProcessNow(int exit_code);

// A crash (an access violation inside SAP's library) ends the process at
// once, with no dialog and no wait for the system's error reporting: a
// process the sensor started for one system, whose starter counts the
// system failed and goes on. Elsewhere than on Windows nothing waits.
void EndAtOnceOnCrash();

}  // namespace platform
