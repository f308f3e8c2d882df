#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/native_path.h"
#include "tests/support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(MapWindowsPath, DrivesRootedAndRelativePaths) {
  ScratchDir scratch;
  const std::string drives = scratch.path() + "/drives";
  fs::create_directories(drives + "/C/work");
  fs::create_directories(drives + "/D/PRTG/Custom Sensors");
  std::ofstream(drives + "/D/PRTG/Custom Sensors/PRD.P00") << "x";
  const std::string cwd_on_c = drives + "/C/work";

  EXPECT_EQ(platform::MapWindowsPath("D:\\PRTG\\Custom Sensors\\PRD.P00", drives, cwd_on_c),
            drives + "/D/PRTG/Custom Sensors/PRD.P00");
  // Letter and components in another case find the existing spelling.
  EXPECT_EQ(platform::MapWindowsPath("d:\\prtg\\custom sensors\\prd.p00", drives, cwd_on_c),
            drives + "/D/PRTG/Custom Sensors/PRD.P00");
  // A missing component keeps the spelling given.
  EXPECT_EQ(platform::MapWindowsPath("D:\\PRTG\\New\\x", drives, cwd_on_c),
            drives + "/D/PRTG/New/x");
  // Rooted paths lie on the drive of the working directory.
  EXPECT_EQ(platform::MapWindowsPath("\\Program Files\\x", drives, cwd_on_c),
            drives + "/C/Program Files/x");
  EXPECT_EQ(platform::MapWindowsPath("\\PRTG\\x", drives, drives + "/D/PRTG"),
            drives + "/D/PRTG/x");
  // Outside every drive the current drive is C.
  EXPECT_EQ(platform::MapWindowsPath("\\x", drives, scratch.path()), drives + "/C/x");
  // Relative paths stay relative.
  EXPECT_EQ(platform::MapWindowsPath("sub\\file.txt", drives, cwd_on_c), "sub/file.txt");
}

TEST(MapWindowsPath, WithoutDrivesRoot) {
  EXPECT_EQ(platform::MapWindowsPath("C:\\PRTG_Path.Txt", "", "/tmp"), std::nullopt);
  EXPECT_EQ(platform::MapWindowsPath("\\etc\\hostname", "", "/tmp"), "/etc/hostname");
  EXPECT_EQ(platform::MapWindowsPath("file", "", "/tmp"), "file");
}

}  // namespace
