// The harness's own contracts where a fault would make scenarios pass or
// fail wrongly: a drive shared between scenarios (Wine's C:) is put back as
// it was and shows only the scenario's files; paths resolve as on Windows.
#include "tests/e2e/drive_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/e2e/scenario.h"
#include "tests/e2e/windows_path.h"
#include "tests/support/scratch_dir.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Pair;

void Write(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> FilesBelow(const fs::path& root) {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    files.push_back(entry.path().lexically_relative(root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

WindowsLocation At(std::string_view path) { return ResolveWindowsPath(path, "C:\\work"); }

TEST(DriveLayout, SharedDriveShowsOnlyTheScenarioAndIsPutBack) {
  ScratchDir scratch;
  fs::path drive = fs::path(scratch.path()) / "c";
  Write(drive / "windows" / "win.ini", "wine's");
  {
    DriveLayout layout({{'C', DriveRoot{drive, {"windows"}, true}}});
    layout.CreateDirectory(At("C:\\work"));
    layout.WriteFile(At("C:\\PRTG_Path.Txt"), "D:\\PRTG\r\n");
    layout.WriteFile(At("C:\\windows\\PRTG\\PRD.P00"), "profile");
    layout.WriteFile(At("C:\\windows\\PRD.P01"), "profile");
    Write(drive / "work" / "SapRfc.ini", "written by the run");

    EXPECT_THAT(layout.Snapshot(), ElementsAre(Pair("C:\\PRTG_Path.Txt", "D:\\PRTG\r\n"),
                                               Pair("C:\\windows\\PRD.P01", "profile"),
                                               Pair("C:\\windows\\PRTG\\PRD.P00", "profile"),
                                               Pair("C:\\work\\SapRfc.ini", "written by the run")));
    EXPECT_THROW(layout.WriteFile(At("C:\\windows\\win.ini"), "changed"), std::invalid_argument);
  }
  EXPECT_THAT(FilesBelow(drive), ElementsAre("windows", "windows/win.ini"));
}

TEST(WindowsPath, ResolvesAsWindowsDoes) {
  struct Case {
    const char* path;
    const char* working_directory;
    const char* resolved;
  };
  const Case cases[] = {
      {"d:\\PRTG\\PRD.P00", "C:\\work", "D:\\PRTG\\PRD.P00"},
      {"\\Program Files\\x", "D:\\work", "D:\\Program Files\\x"},
      {"SapRfc.ini", "C:\\work\\s1", "C:\\work\\s1\\SapRfc.ini"},
      {"a/b\\\\c", "E:\\", "E:\\a\\b\\c"},
      {"C:\\", "D:\\work", "C:\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveWindowsPath(c.path, c.working_directory).ToString(), c.resolved) << c.path;
  }
  EXPECT_THROW(ResolveWindowsPath("..\\x", "C:\\work"), std::invalid_argument);
}

TEST(Outcome, FindsFilesIgnoringCase) {
  Outcome outcome;
  outcome.working_directory = "C:\\work";
  outcome.files_after = {{"C:\\work\\SapRfc.ini", "ini"}, {"D:\\PRTG\\PRD.P00", "profile"}};

  EXPECT_EQ(outcome.ReadFile("SAPRFC.INI"), "ini");
  EXPECT_EQ(outcome.ReadFile("d:\\prtg\\prd.p00"), "profile");
  EXPECT_TRUE(outcome.Exists("\\WORK\\saprfc.ini"));
  EXPECT_FALSE(outcome.Exists("Dev_Rfc.Trc"));
  EXPECT_FALSE(outcome.Exists("D:\\PRD.P00"));
}

}  // namespace
}  // namespace e2e
