// The sensor under test: which build runs, how it is started, and where
// the drives it sees lie on this host.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/drive_layout.h"
#include "tests/support/child_process.h"

namespace e2e {

class SensorTarget {
 public:
  virtual ~SensorTarget() = default;

  // The drives C:, D: and E: of a scenario whose scratch directory is
  // `scratch`, made ready for the sensor to see.
  virtual std::map<char, DriveRoot> PrepareDrives(const std::filesystem::path& scratch) = 0;

  // The program this target runs, where it was built.
  virtual const std::filesystem::path& Executable() const = 0;

  // The file name of the RFC library the program loads at run time from
  // beside itself (the Windows build): the classic stand-in "librfc32.dll",
  // or "sapnwrfc.dll" where the program lies with the NetWeaver stand-in
  // only; "libsapnwrfc.so" for the Linux program beside the Linux
  // NetWeaver stand-in. Empty for a program with the stand-in linked in
  // (the Linux test build).
  virtual std::string RfcLibraryName() const = 0;

  // The program `executable` (Executable() or a copy of it) started with
  // `arguments`, the scenario's `environment` on top of the inherited one,
  // in `working_directory` (a host path on the scenario's drives). The
  // scratch directory is the one given to PrepareDrives.
  virtual ChildProcessRequest Command(const std::filesystem::path& executable,
                                      const std::vector<std::string>& arguments,
                                      const std::map<std::string, std::string>& environment,
                                      const std::filesystem::path& working_directory,
                                      const std::filesystem::path& scratch) const = 0;

  // What the sensor wrote on a standard stream, brought into the form the
  // native build writes (the Windows C runtime writes CR LF line ends).
  virtual std::string Normalise(std::string written) const = 0;

  // True when `result` shows that the program never ran: a start that
  // failed outside it, worth one more try. The sensor itself writes on
  // standard output in every run.
  virtual bool NeverRan(const ChildProcessResult& /*result*/) const { return false; }

  // True when `result` is that of a process ended by an unhandled access
  // violation, as a crashing RFC library ends it.
  virtual bool Crashed(const ChildProcessResult& result) const = 0;
};

// The target chosen by the environment: BRACKWATER_E2E_TARGET "native" (the
// default) or "wine", and BRACKWATER_E2E_EXE, the binary (by default the
// native sensor of this build tree). Made on first use, kept for the run.
// Throws std::runtime_error when the choice cannot be run.
SensorTarget& TargetUnderTest();

// True when the program under test drives SAP's NetWeaver library through
// its adapter. What differs with that library by nature is marked where it
// is checked, with the reason: skipped (GTEST_SKIP) or, where the NetWeaver
// outcome is known, expected as it is.
bool ThroughNetWeaver();

// True when the program under test is a Windows build, run under Wine.
bool UnderWine();

// True when the program under test is the Linux program, which loads
// libsapnwrfc.so and reads names as Linux does: it follows none of PRTG's
// Windows directory rules.
bool LinuxProgram();

// The inherited environment without the variables that steer the sensor or
// Wine, so that only what a scenario sets reaches them.
std::vector<std::string> CleanEnvironment();

}  // namespace e2e
