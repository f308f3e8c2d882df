// Ending the process as a library that crashes ends it: the fault record's
// "crash" (docs/landscape.md).
#pragma once

namespace rfcsim {

// Ends the process at once as an unhandled access violation does: on
// Windows with the exception EXCEPTION_ACCESS_VIOLATION, so that the process
// ends with exit code 0xC0000005 unless a handler of the caller's takes it;
// elsewhere by the signal SIGSEGV with its default action. Nothing of the
// process runs after it (no destructors, no atexit handlers); the caller has
// written out what must survive. Raised, not provoked: no invalid memory
// access is made.
[[noreturn]] void CrashProcess();

}  // namespace rfcsim
