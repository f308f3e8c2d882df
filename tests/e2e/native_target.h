// The sensor built for this host: Windows drives are directories below
// $BRACKWATER_DRIVES, one per drive letter.
#pragma once

#include <filesystem>

#include "tests/e2e/sensor_target.h"

namespace e2e {

class NativeTarget : public SensorTarget {
 public:
  explicit NativeTarget(std::filesystem::path executable);

  std::map<char, DriveRoot> PrepareDrives(const std::filesystem::path& scratch) override;
  const std::filesystem::path& Executable() const override { return executable_; }
  // "libsapnwrfc.so" for the Linux program, which lies beside the stand-in.
  std::string RfcLibraryName() const override { return library_name_; }
  ChildProcessRequest Command(const std::filesystem::path& executable,
                              const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& environment,
                              const std::filesystem::path& working_directory,
                              const std::filesystem::path& scratch) const override;
  std::string Normalise(std::string written) const override;
  // Killed by SIGSEGV.
  bool Crashed(const ChildProcessResult& result) const override;

 private:
  std::filesystem::path executable_;
  std::string library_name_;
};

}  // namespace e2e
