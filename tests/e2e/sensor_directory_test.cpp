// Where the sensor looks for its profile: the PRTG path file, PRTG's
// sensor directories, and the refusal to run from anywhere else; the Linux
// program takes the name as given, else beside itself.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/e2e/expectations.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/sensor_target.h"

namespace e2e {
namespace {

const std::string kPathFile = "C:\\PRTG_Path.Txt";
const std::string kSensorTail = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
// PRTG installed below D:\PRTG, as the path file below names it.
const std::string kPrtgSensors = "D:\\PRTG\\" + kSensorTail;
// Only its place matters here; its content is read after it is found.
const std::string kProfile = "profile\r\n";
const std::string kProfileMissing = "Error 1002: Profile PRD.P00 is missing...";
const std::string kInvalidPathUsage = "Sorry, invalid Path-Usage...";

const std::map<std::string, std::string> kHalvaric = {{"BRACKWATER_FLAVOUR", "Halvaric"}};

// A path file that names D:\PRTG first, then only lines that no reading of
// it (whole lines or cut into pieces, text or binary mode) can take for a
// directory: overlong lines and every byte but ":", "\" and the line feed.
std::string PathFileWithJunk() {
  std::string junk;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != '\n' && byte != ':' && byte != '\\') junk.push_back(static_cast<char>(byte));
  }
  return "D:\\PRTG\r\n" + std::string(10'000, 'x') + "\r\n" + junk + "\r\n" + junk + junk +
         std::string(10'000, 'y');
}

struct DirectoryCase {
  std::string name;
  Scenario scenario;
  // The refusal's message; empty when the profile is to be found and taken.
  std::string refusal = {};
};

void PrintTo(const DirectoryCase& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<DirectoryCase>& info) {
  return info.param.name;
}

void ExpectFoundOrRefused(const DirectoryCase& c) {
  Outcome outcome = RunSensor(c.scenario);
  if (c.refusal.empty()) {
    ExpectProfileLocated(outcome);
  } else {
    ExpectErrorDocument(outcome, c.refusal);
  }
}

class SensorDirectory : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(SensorDirectory, FindsOrRefuses) { ExpectFoundOrRefused(GetParam()); }

// PRTG's rules for its Windows sensor directories.
class PrtgSensorDirectory : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(PrtgSensorDirectory, FindsOrRefuses) {
  if (LinuxProgram()) GTEST_SKIP() << "the Linux program follows none of PRTG's Windows rules";
  ExpectFoundOrRefused(GetParam());
}

class LinuxProgramDirectory : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(LinuxProgramDirectory, FindsOrRefuses) {
  if (!LinuxProgram()) GTEST_SKIP() << "only the Linux program reads names as Linux does";
  ExpectFoundOrRefused(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    PathFile, PrtgSensorDirectory,
    ::testing::Values(
        DirectoryCase{
            "NamesPrtgRoot",
            {.arguments = {"PRD"},
             .files = {{kPathFile, "D:\\PRTG\r\n"}, {kPrtgSensors + "PRD.P00", kProfile}}}},
        DirectoryCase{
            "NamesMonitorDirectory",
            {.arguments = {"PRD"},
             .files = {{kPathFile, "D:\\PRTG Network Monitor\r\n"},
                       {"D:\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00", kProfile}}}},
        // The path-usage check ignores case.
        DirectoryCase{"NamesSensorDirectoryInUpperCase",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\PRTG\\Custom Sensors\\EXEXML\\\r\n"},
                                 {"D:\\PRTG\\Custom Sensors\\EXEXML\\PRD.P00", kProfile}}}},
        DirectoryCase{"WithoutLineEnd",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\PRTG"}, {kPrtgSensors + "PRD.P00", kProfile}}}},
        DirectoryCase{
            "WithLineFeedsOnly",
            {.arguments = {"PRD"},
             .files = {{kPathFile, "rem PRTG\nD:\\PRTG\n"}, {kPrtgSensors + "PRD.P00", kProfile}}}},
        // "rem" and "relative" name no directory; the last line that does wins.
        DirectoryCase{"LastDirectoryLineWins",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "rem\r\nE:\\Old\r\nC:\\A\r\nrelative\r\n"},
                                 {"C:\\A\\" + kSensorTail + "PRD.P00", kProfile}}}},
        DirectoryCase{"LastDirectoryLineWinsAndIsChecked",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "rem\r\nE:\\Old\r\nC:\\A\r\nrelative\r\n"},
                                 {"C:\\A\\PRD.P00", kProfile},
                                 {"E:\\Old\\" + kSensorTail + "PRD.P00", kProfile},
                                 {"relative\\" + kSensorTail + "PRD.P00", kProfile}}},
                      kInvalidPathUsage},
        DirectoryCase{"RootedLineIsOnTheCurrentDrive",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "\\PRTG\r\n"},
                                 {"C:\\PRTG\\" + kSensorTail + "PRD.P00", kProfile}}}},
        DirectoryCase{"LineWithBackslashThirdIsRelative",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "..\\PRTG\r\n"},
                                 {"C:\\PRTG\\" + kSensorTail + "PRD.P00", kProfile}}}},
        // No line names a directory: the search starts at the drive's root.
        DirectoryCase{
            "WithoutDirectoryLineMeansDriveRoot",
            {.arguments = {"PRD"},
             .files = {{kPathFile, "rem\r\n"}, {"C:\\" + kSensorTail + "PRD.P00", kProfile}}}},
        DirectoryCase{
            "WithoutDirectoryLineIgnoresWorkingDirectory",
            {.arguments = {"PRD"}, .files = {{kPathFile, "rem\r\n"}, {"PRD.P00", kProfile}}},
            kProfileMissing},
        DirectoryCase{
            "OverlongAndBinaryLines",
            {.arguments = {"PRD"},
             .files = {{kPathFile, PathFileWithJunk()}, {kPrtgSensors + "PRD.P00", kProfile}}}},
        DirectoryCase{"OverlongAndBinaryLinesWithoutProfile",
                      {.arguments = {"PRD"}, .files = {{kPathFile, PathFileWithJunk()}}},
                      kProfileMissing},
        // Once the path file names a directory, nothing else is searched.
        DirectoryCase{"DirectoryHoldsNoProfile",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\PRTG\r\n"},
                                 {"C:\\Program Files\\" + kSensorTail + "PRD.P00", kProfile},
                                 {"PRD.P00", kProfile}}},
                      kProfileMissing},
        DirectoryCase{"ProfileOutsideExeXmlDirectory",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "E:\\Data\\\r\n"}, {"E:\\Data\\PRD.P00", kProfile}}},
                      kInvalidPathUsage},
        DirectoryCase{"ExeXmlLookAlike",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\Sensors\\ExeXml2\r\n"},
                                 {"D:\\Sensors\\ExeXml2\\PRD.P00", kProfile}}},
                      kInvalidPathUsage},
        DirectoryCase{"DirectoryNamedLikeTheProfile",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\PRTG\r\n"}},
                       .directories = {kPrtgSensors + "PRD.P00"}},
                      kProfileMissing},
        // Windows file names ignore case.
        DirectoryCase{
            "ProfileNameInOtherCase",
            {.arguments = {"prd"},
             .files = {{kPathFile, "D:\\PRTG\r\n"}, {kPrtgSensors + "PRD.P00", kProfile}}}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    WithoutPathFile, PrtgSensorDirectory,
    ::testing::Values(
        DirectoryCase{"FindsProgramme",
                      {.arguments = {"PRD"},
                       .files = {{"C:\\Programme\\" + kSensorTail + "PRD.P00", kProfile}}}},
        DirectoryCase{"FindsProgramFiles",
                      {.arguments = {"PRD"},
                       .files = {{"C:\\Program Files\\" + kSensorTail + "PRD.P00", kProfile}}}},
        DirectoryCase{
            "FindsProgramFilesX86",
            {.arguments = {"PRD"},
             .files = {{"C:\\Program Files (x86)\\" + kSensorTail + "PRD.P00", kProfile}}}},
        // The standard directories lie on the working directory's drive.
        DirectoryCase{"FindsProgramFilesX86OnWorkingDrive",
                      {.arguments = {"PRD"},
                       .files = {{"D:\\Program Files (x86)\\" + kSensorTail + "PRD.P00", kProfile}},
                       .working_directory = "D:\\work"}},
        DirectoryCase{"LooksOnlyOnWorkingDrive",
                      {.arguments = {"PRD"},
                       .files = {{"C:\\Program Files (x86)\\" + kSensorTail + "PRD.P00", kProfile}},
                       .working_directory = "D:\\work"},
                      kProfileMissing},
        DirectoryCase{"RefusesWorkingDirectory",
                      {.arguments = {"PRD"}, .files = {{"PRD.P00", kProfile}}},
                      kInvalidPathUsage},
        DirectoryCase{"FindsNothing", {.arguments = {"PRD"}}, kProfileMissing},
        // Without "@" the directory given with the name is not used.
        DirectoryCase{"IgnoresDirectoryOfName",
                      {.arguments = {"D:\\Some\\PRD"}, .files = {{"D:\\Some\\PRD.P00", kProfile}}},
                      kProfileMissing},
        DirectoryCase{"EscapesAmpersandInName",
                      {.arguments = {"R&D"}},
                      "Error 1002: Profile R&amp;D.P00 is missing..."},
        DirectoryCase{"EscapesLessThanInName",
                      {.arguments = {"A<B"}},
                      "Error 1002: Profile A&lt;B.P00 is missing..."}),
    CaseName);

// With "@" in the options the profile is opened where the name says,
// without search and without the path-usage check.
INSTANTIATE_TEST_SUITE_P(
    AtOption, SensorDirectory,
    ::testing::Values(
        DirectoryCase{"OpensNamedPath",
                      {.arguments = {"D:\\Some\\PRD", "@"},
                       .files = {{kPathFile, "D:\\PRTG\r\n"}, {"D:\\Some\\PRD.P00", kProfile}}}},
        DirectoryCase{
            "DoesNotSearch",
            {.arguments = {"D:\\Some\\PRD", "@"},
             .files = {{kPathFile, "D:\\PRTG\r\n"}, {kPrtgSensors + "PRD.P00", kProfile}}},
            "Error 1002: Profile D:\\Some\\PRD.P00 is missing..."},
        DirectoryCase{"NamedPathIsDirectory",
                      {.arguments = {"D:\\Some\\PRD", "@"}, .directories = {"D:\\Some\\PRD.P00"}},
                      "Error 1002: Profile D:\\Some\\PRD.P00 is missing..."}),
    CaseName);

// Other monitors' flavours take the name as given, in the working
// directory, and still report a missing profile in the PRTG error document.
INSTANTIATE_TEST_SUITE_P(
    OtherFlavour, SensorDirectory,
    ::testing::Values(
        DirectoryCase{
            "TakesWorkingDirectory",
            {.arguments = {"PRD"}, .files = {{"PRD.P00", kProfile}}, .environment = kHalvaric}},
        DirectoryCase{"DoesNotSearch",
                      {.arguments = {"PRD"},
                       .files = {{kPathFile, "D:\\PRTG\r\n"}, {kPrtgSensors + "PRD.P00", kProfile}},
                       .environment = kHalvaric},
                      kProfileMissing},
        DirectoryCase{"NamesFullPath",
                      {.arguments = {"D:\\Some\\PRD"}, .environment = kHalvaric},
                      "Error 1002: Profile D:\\Some\\PRD.P00 is missing..."}),
    CaseName);

// The Linux program in PRTG's format too: as given (relative to the working
// directory), else a relative name beside the program, where a plugin
// directory keeps it; "/" separates directories.
INSTANTIATE_TEST_SUITE_P(
    Linux, LinuxProgramDirectory,
    ::testing::Values(DirectoryCase{"TakesWorkingDirectory",
                                    {.arguments = {"PRD"}, .files = {{"PRD.P00", kProfile}}}},
                      DirectoryCase{"IgnoresPrtgDirectories",
                                    {.arguments = {"PRD"},
                                     .files = {{kPathFile, "D:\\PRTG\r\n"},
                                               {kPrtgSensors + "PRD.P00", kProfile}}},
                                    kProfileMissing},
                      DirectoryCase{"FindsBesideTheProgram",
                                    {.arguments = {"PRD"},
                                     .files = {{"D:\\Plugins\\PRD.P00", kProfile}},
                                     .executable = "D:\\Plugins\\brackwater"}},
                      DirectoryCase{"FindsRelativeDirectoryBesideTheProgram",
                                    {.arguments = {"sap/PRD"},
                                     .files = {{"D:\\Plugins\\sap\\PRD.P00", kProfile}},
                                     .executable = "D:\\Plugins\\brackwater"}},
                      DirectoryCase{"AbsolutePathIsNotLookedForBesideTheProgram",
                                    {.arguments = {"/Some/PRD"},
                                     .files = {{"D:\\Plugins\\Some\\PRD.P00", kProfile}},
                                     .executable = "D:\\Plugins\\brackwater"},
                                    "Error 1002: Profile /Some/PRD.P00 is missing..."},
                      DirectoryCase{"AbsolutePath",
                                    {.arguments = {"/Some/PRD"},
                                     .files = {{"C:\\Some\\PRD.P00", kProfile}}}}),
    CaseName);

}  // namespace
}  // namespace e2e
