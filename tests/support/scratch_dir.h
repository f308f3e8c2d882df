// A fresh temporary directory per test, removed afterwards unless the test
// failed (then it stays for a look, and its path is printed).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device seed;
    std::filesystem::path base = std::filesystem::temp_directory_path() / "brackwater-tests";
    for (;;) {
      path_ = base / ("t" + std::to_string(seed()));
      if (std::filesystem::create_directories(path_)) break;
    }
  }
  ~ScratchDir() {
    if (::testing::Test::HasFailure()) {
      std::printf("scratch directory kept: %s\n", path_.string().c_str());
      return;
    }
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string path() const { return path_.generic_string(); }

 private:
  std::filesystem::path path_;
};
