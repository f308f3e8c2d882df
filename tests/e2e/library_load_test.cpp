// Loading the RFC library, as PRTG runs the Windows sensor: librfc32.dll (here
// the stand-in DLL) beside the program or in the system directory, else
// sapnwrfc.dll (the NetWeaver stand-in) there, or the file
// BRACKWATER_RFC_LIBRARY names; never one in the working directory.
// The Linux program takes libsapnwrfc.so (the Linux NetWeaver stand-in)
// from the file BRACKWATER_RFC_LIBRARY names, beside itself or through the
// loader's search, its companion libsapucum.so beside it or through the
// search. Every library the sensor cannot use ends the run with Error 1031
// before anything is asked of a library. The Linux test build links its
// library, so there these scenarios are skipped.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/drive_layout.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/listing_fixtures.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

const std::string kSensors = std::string(kSensorDirectory);
// A program folder apart from the sensor directory, which is the working
// directory of every run.
const std::string kProgramFolder = "D:\\Programs\\Brackwater";
const std::string kError1031 = "Error 1031: RFC-Library ";

// Files of the Windows build laid out for a scenario.
enum class Built {
  kStandIn,             // librfc32.dll, rfcsim with SAP's interface
  kNetWeaverStandIn,    // sapnwrfc.dll, rfcsim with the NetWeaver interface
  kStandInForOther,     // the same, marked as built for the other processor
  kWithoutOpenEx,       // exports RfcEnvironment and RfcOpen only
  kNeedsAbsentLibrary,  // imports from a DLL that is not there
  // The Linux program's files:
  kLinuxStandIn,       // libsapnwrfc.so, which needs libsapucum.so
  kLinuxCompanion,     // libsapucum.so
  kLinuxStandIn32Bit,  // libsapnwrfc.so marked as a 32-bit ELF file
  kLinuxStandInArm,    // libsapnwrfc.so marked as built for 64-bit ARM
  kLinuxOpenOnly,      // a library with RfcOpenConnection and nothing else
};

std::string ReadBuilt(const std::string& name) {
  return ReadHostFile(TargetUnderTest().Executable().parent_path() / name);
}

// The PE header's machine field says which processor a program or library
// is for: x86 (0x014c) or x86-64 (0x8664).
constexpr std::uint16_t kMachineX86 = 0x014c;
constexpr std::uint16_t kMachineX64 = 0x8664;

std::size_t MachineFieldOf(const std::string& image) {
  const auto byte = [&](std::size_t at) {
    return std::size_t{static_cast<std::uint8_t>(image.at(at))};
  };
  return (byte(0x3c) | byte(0x3d) << 8 | byte(0x3e) << 16 | byte(0x3f) << 24) + 4;
}

std::uint16_t MachineOf(const std::string& image) {
  const std::size_t at = MachineFieldOf(image);
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(image.at(at)) |
                                    static_cast<std::uint8_t>(image.at(at + 1)) << 8);
}

// The library marked as built for the processor of the other width.
std::string ForOtherProcessor(std::string library) {
  const std::uint16_t other = MachineOf(library) == kMachineX64 ? kMachineX86 : kMachineX64;
  const std::size_t at = MachineFieldOf(library);
  library.at(at) = static_cast<char>(other & 0xff);
  library.at(at + 1) = static_cast<char>(other >> 8);
  return library;
}

// Whether the program under test is the 64-bit build (brackwater64.exe).
bool Testing64BitProgram() {
  return MachineOf(ReadBuilt(TargetUnderTest().Executable().filename().string())) == kMachineX64;
}

// Why a file of the wrong width, or no DLL at all, is refused.
std::string NotOfOwnWidth() {
  return Testing64BitProgram() ? "not a 64-bit library" : "not a 32-bit library";
}

std::string ReadTestLibrary(const std::string& name) {
  return ReadHostFile(std::filesystem::path(BRACKWATER_E2E_TEST_LIBRARIES) / name);
}

// The ELF header's class byte (at 4; 1: 32-bit, 2: 64-bit) and its
// little-endian machine field (at 18; 62: x86-64, 183: 64-bit ARM).
std::string MarkedAs32Bit(std::string library) {
  library.at(4) = 1;
  return library;
}

std::string MarkedForArm64(std::string library) {
  library.at(18) = static_cast<char>(183);
  library.at(19) = 0;
  return library;
}

std::string ContentOf(Built built) {
  switch (built) {
    case Built::kStandIn:
      return ReadBuilt("librfc32.dll");
    case Built::kNetWeaverStandIn:
      return ReadBuilt("sapnwrfc.dll");
    case Built::kStandInForOther:
      return ForOtherProcessor(ReadBuilt("librfc32.dll"));
    case Built::kWithoutOpenEx:
      return ReadBuilt("rfc-without-openex.dll");
    case Built::kNeedsAbsentLibrary:
      return ReadBuilt("rfc-needing-absent-dependency.dll");
    case Built::kLinuxStandIn:
      return ReadBuilt("libsapnwrfc.so");
    case Built::kLinuxCompanion:
      return ReadBuilt("libsapucum.so");
    case Built::kLinuxStandIn32Bit:
      return MarkedAs32Bit(ReadBuilt("libsapnwrfc.so"));
    case Built::kLinuxStandInArm:
      return MarkedForArm64(ReadBuilt("libsapnwrfc.so"));
    case Built::kLinuxOpenOnly:
      return ReadTestLibrary("libnwrfc-open-only.so");
  }
  return {};
}

struct LoadCase {
  std::string name;
  // The run of PRD as PRTG starts it, or a listing run.
  Scenario scenario = ScenarioOf(SingleRun{});
  // Where the program's copy lies.
  std::string executable = kSensors + "\\brackwater.exe";
  // Files of the Windows build, by the Windows path they are laid out at.
  std::map<std::string, Built> built = {};
  // The document; where `refused_file` is set, Error 1031 for that file as
  // a DLL of the wrong width, whose text names the width of the program
  // under test.
  std::string out = {};
  int exit_code = 2;
  std::string refused_file = {};
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

Scenario ListingScenario() {
  return listing::InPrtg(
      {.arguments = {"GLOBAL", "PRD01"},
       .files = listing::Merged(listing::SystemFiles({listing::kPrd}),
                                {{listing::kGlobalListing, listing::Listing("PRD.P00#")}})});
}

std::string NotLoaded(const std::string& file, const std::string& reason) {
  return PrtgErrorDocument(kError1031 + file + " not loaded - " + reason);
}

Scenario WithEnvironment(Scenario scenario, const std::string& name, const std::string& value) {
  scenario.environment[name] = value;
  return scenario;
}

Scenario WithFile(Scenario scenario, const std::string& path, const std::string& content) {
  scenario.files[path] = content;
  return scenario;
}

// Runs the case's scenario with its files laid out; `out` is the document
// expected.
void ExpectLoaded(const LoadCase& c, const std::string& out) {
  Scenario scenario = c.scenario;
  scenario.executable = c.executable;
  for (const auto& [path, built] : c.built) scenario.files[path] = ContentOf(built);

  const Outcome outcome = RunSensor(scenario);
  EXPECT_EQ(outcome.out, out);
  EXPECT_EQ(outcome.exit_code, c.exit_code);
  EXPECT_EQ(outcome.err, "");
  if (c.exit_code != 0) {
    // Nothing was asked of any library, the planted one included.
    EXPECT_TRUE(outcome.changed_files.empty()) << ::testing::PrintToString(outcome.changed_files);
  }
}

class LibraryLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LibraryLoad, UsesOnlyALibraryItMayTrust) {
  if (TargetUnderTest().RfcLibraryName() != "librfc32.dll") {
    GTEST_SKIP() << "only the Windows build with the classic stand-in beside it loads libraries "
                    "from where these scenarios lay them";
  }
  const LoadCase& c = GetParam();
  ExpectLoaded(c, c.refused_file.empty() ? c.out : NotLoaded(c.refused_file, NotOfOwnWidth()));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, LibraryLoad,
    ::testing::Values(
        LoadCase{.name = "BesideTheProgram",
                 .executable = kProgramFolder + "\\brackwater.exe",
                 .built = {{kProgramFolder + "\\librfc32.dll", Built::kStandIn}},
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        LoadCase{.name = "InTheSystemDirectory",
                 .executable = kProgramFolder + "\\brackwater.exe",
                 .built = {{"C:\\windows\\system32\\librfc32.dll", Built::kStandIn}},
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        LoadCase{.name = "NamedByTheEnvironment",
                 .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "BRACKWATER_RFC_LIBRARY",
                                             "E:\\lab\\rfcsim.dll"),
                 .built = {{"E:\\lab\\rfcsim.dll", Built::kStandIn}},
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        // Where the classic library is found nowhere, SAP's current one is
        // taken; the classic one keeps priority wherever it lies.
        LoadCase{.name = "NetWeaverBesideTheProgram",
                 .executable = kProgramFolder + "\\brackwater.exe",
                 .built = {{kProgramFolder + "\\sapnwrfc.dll", Built::kNetWeaverStandIn}},
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        LoadCase{.name = "NetWeaverNamedByTheEnvironment",
                 .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "BRACKWATER_RFC_LIBRARY",
                                             "E:\\lab\\SAPNWRFC.DLL"),
                 .built = {{"E:\\lab\\sapnwrfc.dll", Built::kNetWeaverStandIn}},
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        LoadCase{
            .name = "ClassicBeforeNetWeaver",
            .executable = kProgramFolder + "\\brackwater.exe",
            .built = {{"C:\\windows\\system32\\librfc32.dll", Built::kWithoutOpenEx},
                      {kProgramFolder + "\\sapnwrfc.dll", Built::kNetWeaverStandIn}},
            .out = NotLoaded("C:\\windows\\system32\\librfc32.dll", "no entry point RfcOpenEx")},
        LoadCase{.name = "NetWeaverNeedingAMissingDll",
                 .built = {{kSensors + "\\sapnwrfc.dll", Built::kNeedsAbsentLibrary}},
                 .out = NotLoaded(kSensors + "\\sapnwrfc.dll", "a DLL it needs is missing")},
        LoadCase{.name = "Nowhere", .out = NotLoaded("librfc32.dll", "not found")},
        LoadCase{.name = "PlantedInTheWorkingDirectory",
                 .executable = kProgramFolder + "\\brackwater.exe",
                 .built = {{kSensors + "\\librfc32.dll", Built::kStandIn}},
                 .out = NotLoaded("librfc32.dll", "not found")},
        LoadCase{.name = "NamedFileMissing",
                 .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "BRACKWATER_RFC_LIBRARY",
                                             "E:\\lab\\none.dll"),
                 .out = NotLoaded("E:\\lab\\none.dll", "not found")},
        LoadCase{.name = "NotALibrary",
                 .scenario = WithFile(ScenarioOf(SingleRun{}), kSensors + "\\librfc32.dll",
                                      "librfc32.dll: see the install guide\r\n"),
                 .refused_file = kSensors + "\\librfc32.dll"},
        // A 64-bit library found by the 32-bit program, a 32-bit one by the
        // 64-bit program.
        LoadCase{.name = "ForAnotherProcessor",
                 .built = {{kSensors + "\\librfc32.dll", Built::kStandInForOther}},
                 .refused_file = kSensors + "\\librfc32.dll"},
        LoadCase{.name = "WithoutAnEntryPoint",
                 .built = {{kSensors + "\\librfc32.dll", Built::kWithoutOpenEx}},
                 .out = NotLoaded(kSensors + "\\librfc32.dll", "no entry point RfcOpenEx")},
        LoadCase{.name = "NeedingAMissingDll",
                 .built = {{kSensors + "\\librfc32.dll", Built::kNeedsAbsentLibrary}},
                 .out = NotLoaded(kSensors + "\\librfc32.dll", "a DLL it needs is missing")},
        // A run that its configuration ends never gets as far as the library.
        LoadCase{.name = "AfterTheProfile",
                 .scenario = ScenarioOf(SingleRun{.arguments = {"QAS"}}),
                 .out = PrtgErrorDocument("Error 1002: Profile QAS.P00 is missing...")},
        // A listing run loads the library before it opens its document.
        LoadCase{.name = "ListingRun",
                 .scenario = ListingScenario(),
                 .out = NotLoaded("librfc32.dll", "not found")},
        LoadCase{.name = "ListingRunWithLibrary",
                 .scenario = ListingScenario(),
                 .built = {{kSensors + "\\librfc32.dll", Built::kStandIn}},
                 .out = listing::printed::PrtgOpening() +
                        listing::printed::PrtgChannel("PRD", listing::Value(listing::kPrd)) +
                        listing::printed::PrtgSummary("Used Area", 1, 1, 0),
                 .exit_code = 0}),
    NameOfCase);

// The Linux program's copy lies in a program folder of its own unless a
// case says otherwise; the working directory is the sensor directory.
const std::string kLinuxProgram = kProgramFolder + "\\brackwater";
std::map<std::string, Built> LinuxLibrariesIn(const std::string& folder) {
  return {{folder + "\\libsapnwrfc.so", Built::kLinuxStandIn},
          {folder + "\\libsapucum.so", Built::kLinuxCompanion}};
}

class LinuxLibraryLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LinuxLibraryLoad, UsesOnlyALibraryItMayTrust) {
  if (!LinuxProgram()) GTEST_SKIP() << "only the Linux program loads libsapnwrfc.so";
  ExpectLoaded(GetParam(), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Linux, LinuxLibraryLoad,
    ::testing::Values(
        LoadCase{.name = "BesideTheProgram",
                 .executable = kLinuxProgram,
                 .built = LinuxLibrariesIn(kProgramFolder),
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        // SAP's installation notes: the SDK's lib folder in LD_LIBRARY_PATH
        // (here relative to the working directory).
        LoadCase{
            .name = "ThroughTheLoadersSearch",
            .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "LD_LIBRARY_PATH", "nwrfcsdk/lib"),
            .executable = kLinuxProgram,
            .built = LinuxLibrariesIn(kSensors + "\\nwrfcsdk\\lib"),
            .out = ExamplePrtgDocument(),
            .exit_code = 0},
        LoadCase{
            .name = "CompanionThroughTheLoadersSearch",
            .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "LD_LIBRARY_PATH", "nwrfcsdk/lib"),
            .executable = kLinuxProgram,
            .built = {{kProgramFolder + "\\libsapnwrfc.so", Built::kLinuxStandIn},
                      {kSensors + "\\nwrfcsdk\\lib\\libsapucum.so", Built::kLinuxCompanion}},
            .out = ExamplePrtgDocument(),
            .exit_code = 0},
        LoadCase{.name = "NamedByTheEnvironment",
                 .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "BRACKWATER_RFC_LIBRARY",
                                             "E:\\lab\\libsapnwrfc.so"),
                 .executable = kLinuxProgram,
                 .built = LinuxLibrariesIn("E:\\lab"),
                 .out = ExamplePrtgDocument(),
                 .exit_code = 0},
        LoadCase{.name = "Nowhere",
                 .executable = kLinuxProgram,
                 .out = NotLoaded("libsapnwrfc.so", "not found")},
        LoadCase{.name = "PlantedInTheWorkingDirectory",
                 .executable = kLinuxProgram,
                 .built = LinuxLibrariesIn(kSensors),
                 .out = NotLoaded("libsapnwrfc.so", "not found")},
        LoadCase{.name = "NamedFileMissing",
                 .scenario = WithEnvironment(ScenarioOf(SingleRun{}), "BRACKWATER_RFC_LIBRARY",
                                             "E:\\lab\\none.so"),
                 .executable = kLinuxProgram,
                 .out = NotLoaded("E:\\lab\\none.so", "not found")},
        LoadCase{
            .name = "NotALibrary",
            .scenario = WithFile(ScenarioOf(SingleRun{}), kProgramFolder + "\\libsapnwrfc.so",
                                 "libsapnwrfc.so: see the install guide\n"),
            .executable = kLinuxProgram,
            .out = NotLoaded(kProgramFolder + "\\libsapnwrfc.so", "not a 64-bit x86_64 library")},
        LoadCase{
            .name = "A32BitLibrary",
            .executable = kLinuxProgram,
            .built = {{kProgramFolder + "\\libsapnwrfc.so", Built::kLinuxStandIn32Bit},
                      {kProgramFolder + "\\libsapucum.so", Built::kLinuxCompanion}},
            .out = NotLoaded(kProgramFolder + "\\libsapnwrfc.so", "not a 64-bit x86_64 library")},
        LoadCase{
            .name = "ForAnotherProcessor",
            .executable = kLinuxProgram,
            .built = {{kProgramFolder + "\\libsapnwrfc.so", Built::kLinuxStandInArm},
                      {kProgramFolder + "\\libsapucum.so", Built::kLinuxCompanion}},
            .out = NotLoaded(kProgramFolder + "\\libsapnwrfc.so", "not a 64-bit x86_64 library")},
        LoadCase{.name = "CompanionMissing",
                 .executable = kLinuxProgram,
                 .built = {{kProgramFolder + "\\libsapnwrfc.so", Built::kLinuxStandIn}},
                 .out = NotLoaded(kProgramFolder + "\\libsapnwrfc.so",
                                  "a library it needs is missing: libsapucum.so")},
        LoadCase{.name = "WithoutAnEntryPoint",
                 .executable = kLinuxProgram,
                 .built = {{kProgramFolder + "\\libsapnwrfc.so", Built::kLinuxOpenOnly}},
                 .out = NotLoaded(kProgramFolder + "\\libsapnwrfc.so",
                                  "no entry point RfcCloseConnection")},
        LoadCase{.name = "ListingRun",
                 .scenario = ListingScenario(),
                 .executable = kLinuxProgram,
                 .out = NotLoaded("libsapnwrfc.so", "not found")}),
    NameOfCase);

}  // namespace
}  // namespace e2e
