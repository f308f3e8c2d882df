#include <signal.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>

#include "rfcsim/process_crash.h"

namespace rfcsim {

void CrashProcess() {
  // A crash the landscape asks for leaves no core file in the caller's
  // working directory, where tests look for every file a run changed.
  rlimit core{};
  if (getrlimit(RLIMIT_CORE, &core) == 0) {
    core.rlim_cur = 0;
    setrlimit(RLIMIT_CORE, &core);
  }
  // The caller may handle or block SIGSEGV; a crashing library ends the
  // process all the same.
  std::signal(SIGSEGV, SIG_DFL);
  sigset_t segv;
  sigemptyset(&segv);
  sigaddset(&segv, SIGSEGV);
  pthread_sigmask(SIG_UNBLOCK, &segv, nullptr);
  std::raise(SIGSEGV);
  // Not reached: the default action of SIGSEGV ends the process.
  std::abort();
}

}  // namespace rfcsim
