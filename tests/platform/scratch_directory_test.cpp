// The directory a listing run keeps its systems' processes' files in.
#include "platform/scratch_directory.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Dates the directory's last change three hours back. (The C++ library of
// MinGW cannot set a directory's times.)
void MakeOld(const std::string& directory) {
#ifdef _WIN32
  HANDLE handle = CreateFileA(directory.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  ticks.QuadPart -= 3ULL * 3600ULL * 10000000ULL;
  const FILETIME old{ticks.LowPart, ticks.HighPart};
  EXPECT_NE(SetFileTime(handle, nullptr, nullptr, &old), FALSE);
  CloseHandle(handle);
#else
  fs::last_write_time(directory, fs::file_time_type::clock::now() - 3h);
#endif
}

// Made in the working directory, gone with what it holds two levels down;
// one left behind hours ago by a process ended from outside goes too, a
// fresh one (another run's, still going) stays.
TEST(ScratchDirectory, LeavesNothingBehind) {
  ScratchDir scratch;
  const fs::path before = fs::current_path();
  fs::current_path(scratch.path());
  fs::create_directories("brackwater.old/3");
  std::ofstream("brackwater.old/3/Dev_Rfc.Trc") << "trace\n";
  MakeOld("brackwater.old");
  fs::create_directories("brackwater.running/1");
  {
    std::optional<platform::ScratchDirectory> directory = platform::ScratchDirectory::Create();
    ASSERT_TRUE(directory.has_value());
    EXPECT_FALSE(fs::exists("brackwater.old"));
    EXPECT_TRUE(fs::exists("brackwater.running"));
    const std::optional<std::string> sub = directory->MakeSubdirectory("0");
    ASSERT_TRUE(sub.has_value());
    std::ofstream(*sub + "Dev_Rfc.Trc") << "trace\n";
    std::ofstream(directory->path() + "0.out") << "out\n";
    EXPECT_TRUE(fs::exists(*sub + "Dev_Rfc.Trc"));
  }
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(".")) {
    left.push_back(entry.path().filename().string());
  }
  fs::current_path(before);
  EXPECT_EQ(left, std::vector<std::string>{"brackwater.running"});
}

}  // namespace
