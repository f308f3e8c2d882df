#include <unistd.h>

#include "platform/process_end.h"

namespace platform {

void EndProcessNow(int exit_code) {
  // Another thread may be blocked inside the RFC library; exit() would run
  // the static destructors under it. _exit ends the process as it stands.
  _exit(exit_code);
}

void EndAtOnceOnCrash() {}

}  // namespace platform
