// A child for the process tests: does what its first argument says.
//   report ARG...  each argument, the working directory and the variable
//                  CHILD_PROBE_VALUE on standard output, a line on standard
//                  error; exits 0
//   exit N         exits with N
//   sleep S        sleeps S seconds, then exits 0
//   outlive S PATH sleeps S seconds, then creates the file PATH
//   parent S PATH  starts "outlive S PATH" as its child, says "started" on
//                  standard output, then sleeps a minute
//   crash          ends as an unhandled access violation (SIGSEGV) does
//   handle H PATH  exits 3 when H (a descriptor or handle number) is open in
//                  this process on the file PATH, 0 otherwise
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <variant>

#include "platform/child_process.h"
#include "platform/installation_file.h"

namespace {

// Handle numbers are the process's own: the number may be open here on
// another file, so the file itself is compared.
bool IsOpenOn(unsigned long long number, const char* path) {
#ifdef _WIN32
  BY_HANDLE_FILE_INFORMATION held{};
  if (GetFileInformationByHandle(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(number)), &held) ==
      FALSE) {
    return false;
  }
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION named{};
  const bool same = GetFileInformationByHandle(file, &named) != FALSE &&
                    held.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
                    held.nFileIndexHigh == named.nFileIndexHigh &&
                    held.nFileIndexLow == named.nFileIndexLow;
  CloseHandle(file);
  return same;
#else
  struct stat held {};
  struct stat named {};
  return fstat(static_cast<int>(number), &held) == 0 && stat(path, &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
#endif
}

[[noreturn]] void Crash() {
#ifdef _WIN32
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  // A sanitizer's handler would report the signal and exit instead.
  std::signal(SIGSEGV, SIG_DFL);
  std::raise(SIGSEGV);
#endif
  std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "report") {
    for (int i = 2; i < argc; ++i) std::printf("arg:[%s]\n", argv[i]);
    std::printf("cwd:%s\n", std::filesystem::current_path().generic_string().c_str());
    const char* value = std::getenv("CHILD_PROBE_VALUE");
    std::printf("env:%s\n", value != nullptr ? value : "(unset)");
    std::fprintf(stderr, "to standard error\n");
    return 0;
  }
  if (mode == "exit" && argc > 2) return std::atoi(argv[2]);
  if (mode == "sleep" && argc > 2) {
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[2])));
    return 0;
  }
  if (mode == "outlive" && argc > 3) {
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[2])));
    std::ofstream(argv[3]) << "outlived its parent\n";
    return 0;
  }
  if (mode == "parent" && argc > 3) {
    const std::string path = argv[3];
#ifdef _WIN32
    const std::string program = platform::ExecutableDirectory() + "child_probe.exe";
#else
    const std::string program = platform::ExecutableDirectory() + "child_probe";
#endif
    auto started =
        platform::ChildProcess::Start(platform::ChildLaunch{.program = program,
                                                            .arguments = {"outlive", argv[2], path},
                                                            .environment = {},
                                                            .directory = {},
                                                            .output_path = path + ".out",
                                                            .error_path = path + ".err"});
    if (!std::holds_alternative<platform::ChildProcess>(started)) return 65;
    std::cout << "started" << std::endl;
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  if (mode == "crash") Crash();
  if (mode == "handle" && argc > 3) {
    return IsOpenOn(std::strtoull(argv[2], nullptr, 10), argv[3]) ? 3 : 0;
  }
  return 64;
}
