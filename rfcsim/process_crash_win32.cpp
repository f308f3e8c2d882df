#include <windows.h>

#include <cstdlib>

#include "rfcsim/process_crash.h"

namespace rfcsim {

void CrashProcess() {
  // What a faulty library's access violation raises, without the access:
  // noncontinuable, so no handler can resume the operation.
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  // Not reached: resuming a noncontinuable exception raises another one.
  std::abort();
}

}  // namespace rfcsim
