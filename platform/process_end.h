// Ending the process from any thread, at once.
#pragma once

namespace platform {

// Ends the process with `exit_code` without running anything more of it:
// no destructors, no atexit handlers and, on Windows, no DLL detach code.
// The caller has flushed what must be seen.
[[noreturn]] void EndProcessNow(int exit_code);

}  // namespace platform
