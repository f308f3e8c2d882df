// The Windows build of the sensor run under Wine, in a private prefix made
// once per test run.
//
// Drives: C: is the prefix's own drive_c (Wine needs its Windows folders
// there); the scenario's C: files go into it and are removed again after the
// scenario, together with whatever the sensor left beside them. D: and E:
// are links in the prefix's dosdevices folder, pointed at the scenario's
// scratch directories before each scenario. A working directory inside one
// of Wine's own folders (C:\windows) would hide what the sensor writes
// there: scenarios keep to folders of their own.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/sensor_target.h"

namespace e2e {

// A Wine prefix in a fresh temporary directory, with a wineserver that stays
// up between runs, so that each run of the sensor starts in a fraction of a
// second. Booting takes some ten seconds.
//
// The prefix is of the program's width: a 32-bit one (WINEARCH=win32) for
// the 32-bit build, where C:\windows\system32 is the system directory the
// program sees, and a 64-bit one (win64) for the 64-bit build. Where Wine
// can run 64-bit programs, a prefix of unnamed width would be a 64-bit one,
// in which a 32-bit program's system directory is C:\windows\syswow64.
class WinePrefix {
 public:
  // `architecture`: Wine's name of the prefix's width, "win32" or "win64".
  explicit WinePrefix(std::string architecture);
  // Stops the wineserver and removes the prefix.
  ~WinePrefix();
  WinePrefix(const WinePrefix&) = delete;
  WinePrefix& operator=(const WinePrefix&) = delete;

  std::filesystem::path DriveC() const;
  // The entries of drive_c that Wine made ("windows", "users", ...).
  const std::set<std::string>& OwnEntries() const { return own_entries_; }
  // Points the drive `letter` (d to z) at `host_directory`.
  void MapDrive(char letter, const std::filesystem::path& host_directory) const;
  // The Wine loader that starts programs of the prefix's width.
  const std::string& Loader() const;
  // The environment entries that select this prefix, with Wine's messages off.
  std::vector<std::string> Environment() const;

 private:
  // Stops the wineserver and removes the prefix's directory.
  void Remove() noexcept;

  std::string architecture_;
  std::string loader_;
  std::filesystem::path root_;
  std::set<std::string> own_entries_;
};

class WineTarget : public SensorTarget {
 public:
  explicit WineTarget(std::filesystem::path executable);

  std::map<char, DriveRoot> PrepareDrives(const std::filesystem::path& scratch) override;
  const std::filesystem::path& Executable() const override { return executable_; }
  std::string RfcLibraryName() const override { return library_name_; }
  ChildProcessRequest Command(const std::filesystem::path& executable,
                              const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& environment,
                              const std::filesystem::path& working_directory,
                              const std::filesystem::path& scratch) const override;
  std::string Normalise(std::string written) const override;
  bool NeverRan(const ChildProcessResult& result) const override;
  // Exit code 5: Wine hands the low byte of the Windows exit code on, and
  // an unhandled access violation ends a process with 0xC0000005.
  bool Crashed(const ChildProcessResult& result) const override;

 private:
  std::filesystem::path executable_;
  std::string library_name_;
  std::unique_ptr<WinePrefix> prefix_;
};

}  // namespace e2e
