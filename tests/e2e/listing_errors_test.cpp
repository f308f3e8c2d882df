// Listing runs that end with the error document: a listing the sensor cannot
// use, and a system whose probe, system information or database ends the
// whole run after what was already printed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/expectations.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/listing_fixtures.h"
#include "tests/e2e/sensor_target.h"

namespace e2e::listing {
namespace {

using namespace printed;
using ::testing::ElementsAreArray;
using Files = std::map<std::string, std::string>;

const std::vector<std::string> kGlobal = {"GLOBAL", "PRD01"};
const std::string kUsedArea = ItemText("Item=Used:Area,Alias");

const std::string kError1025 = "Error 1025: Global Server Listing missing...";
const std::string kError1026 = "Error 1026: Global Item Idenification missing...";
const std::string kError1029 = "Error 1029: Invalid Sensor-Allocation...";

// PRD and its profile, with the global listing `listing`.
Files WithListing(const std::string& listing) {
  Files files = SystemFiles({kPrd});
  files[kGlobalListing] = listing;
  return files;
}

// PRD and its profile, with the item listing `listing`.
Files WithItemListing(const std::string& listing) {
  Files files = SystemFiles({kPrd});
  files[kItemListing] = listing;
  return files;
}

struct ListingErrorCase {
  std::string name;
  Scenario scenario;
  // The error document's message, escaped.
  std::string message;
};

void PrintTo(const ListingErrorCase& c, std::ostream* out) { *out << c.name; }

std::string ErrorCaseName(const ::testing::TestParamInfo<ListingErrorCase>& info) {
  return info.param.name;
}

class ListingRefused : public ::testing::TestWithParam<ListingErrorCase> {};

// Nothing is measured and nothing printed but the error document, not even
// the console lines.
TEST_P(ListingRefused, PrintsOnlyTheErrorDocument) {
  const ListingErrorCase& c = GetParam();
  ExpectErrorDocument(RunSensor(c.scenario), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    GlobalListing, ListingRefused,
    ::testing::Values(
        ListingErrorCase{
            "ItemLineWithoutSensorMark",
            InPrtg({.arguments = kGlobal,
                    .files = WithListing(Listing("PRD.P00#", "Item=Used:Area,Alias"))}),
            kError1029},
        ListingErrorCase{
            "SensorMarkWithoutQuotes",
            InPrtg({.arguments = kGlobal,
                    .files = WithListing(Listing("PRD.P00#",
                                                 "Item=Used:Area,Alias,Sensor=SAP Brackwater"))}),
            kError1029},
        // One defective item line of the sensor spoils the listing, however
        // good the others are.
        ListingErrorCase{"SensorMarkOfAnotherProgram",
                         InPrtg({.arguments = kGlobal,
                                 .files = WithListing(
                                     Listing("PRD.P00#") +
                                     ItemLine("PRD01", "Item=Free:Area,Sensor=\"SAP Other\""))}),
                         kError1029},
        // Checked while reading: before the missing systems are noticed.
        ListingErrorCase{"SensorMarkMissingWithoutSystems",
                         InPrtg({.arguments = kGlobal,
                                 .files = WithListing(ItemLine("PRD01", "Item=Used:Area"))}),
                         kError1029},
        ListingErrorCase{
            "NoItemLine",
            InPrtg({.arguments = kGlobal, .files = WithListing(GroupLine("PRD01", "PRD.P00#"))}),
            "Error 1030: Global Sensor PRD01 not found..."},
        ListingErrorCase{"ItemLineOfAnotherSensor",
                         InPrtg({.arguments = kGlobal,
                                 .files = WithListing(GroupLine("PRD01", "PRD.P00#") +
                                                      ItemLine("PRD02", kUsedArea))}),
                         "Error 1030: Global Sensor PRD01 not found..."},
        // The message names the second argument as given, without the third.
        ListingErrorCase{"NoItemLineNamesSecondArgument",
                         InPrtg({.arguments = {"GLOBAL", "prd99 $", "more"},
                                 .files = WithListing(Listing("PRD.P00#"))}),
                         "Error 1030: Global Sensor prd99 $ not found..."},
        ListingErrorCase{
            "WithoutSecondArgument",
            InPrtg({.arguments = {"GLOBAL"}, .files = WithListing(Listing("PRD.P00#"))}),
            "Error 1030: Global Sensor  not found..."},
        ListingErrorCase{
            "SensorNameEscaped",
            InPrtg({.arguments = {"GLOBAL", "R&D<1>"}, .files = WithListing(Listing("PRD.P00#"))}),
            "Error 1030: Global Sensor R&amp;D&lt;1&gt; not found..."},
        ListingErrorCase{"EmptyListing", InPrtg({.arguments = kGlobal, .files = WithListing("")}),
                         "Error 1030: Global Sensor PRD01 not found..."},
        ListingErrorCase{
            "NoGroupLine",
            InPrtg({.arguments = kGlobal, .files = WithListing(ItemLine("PRD01", kUsedArea))}),
            kError1025},
        ListingErrorCase{"GroupLineWithoutSystems",
                         InPrtg({.arguments = kGlobal, .files = WithListing(Listing(""))}),
                         kError1025},
        ListingErrorCase{"ItemWithoutItemName",
                         InPrtg({.arguments = kGlobal,
                                 .files = WithListing(Listing("PRD.P00#", ItemText("Alias")))}),
                         kError1026},
        ListingErrorCase{
            "EmptyItemName",
            InPrtg({.arguments = kGlobal,
                    .files = WithListing(Listing("PRD.P00#", ItemText("Item=,Alias")))}),
            kError1026},
        // Missing systems are reported before a missing item name.
        ListingErrorCase{"NeitherSystemsNorItemName",
                         InPrtg({.arguments = kGlobal,
                                 .files = WithListing(ItemLine("PRD01", ItemText("Alias")))}),
                         kError1025},
        ListingErrorCase{"ListingMissing",
                         InPrtg({.arguments = kGlobal, .files = SystemFiles({kPrd})}),
                         "Error 1002: Profile SAP Tessaron.Gbl is missing..."}),
    ErrorCaseName);

INSTANTIATE_TEST_SUITE_P(
    ItemListing, ListingRefused,
    ::testing::Values(
        ListingErrorCase{"WithoutSystems",
                         InPrtg({.arguments = {"PRD", "ITEM=Used:Area"},
                                 .files = WithItemListing("# Gsng  systems of the item sensors\r\n"
                                                          "# GSNG: PRD01       PRD.P00#\r\n"
                                                          "* short line\r\n")}),
                         kError1025},
        ListingErrorCase{"ItemOptionWithoutName",
                         InPrtg({.arguments = {"PRD", "ITEM= $"},
                                 .files = WithItemListing("* Systems.......... PRD.P00#\r\n")}),
                         kError1026},
        ListingErrorCase{"ItemListingMissing",
                         InPrtg({.arguments = {"PRD", "ITEM=Used:Area"},
                                 .files = WithListing(Listing("PRD.P00#"))}),
                         "Error 1002: Profile Tessaron.Prf is missing..."}),
    ErrorCaseName);

// A probe or system information that fails, or a database that is not
// MaxDB, ends the whole run: the systems after it are never logged on to.
struct RunEndCase {
  std::string name;
  std::vector<std::string> arguments;
  // QAS as the landscape describes it.
  SapSystem qas;
  std::string out;
  std::vector<std::string> changed_files;
  std::vector<std::string> logged_on;
  // The output format, and the exit code it ends with.
  std::string flavour = {};
  int exit_code = 2;
};

std::map<std::string, std::string> EnvironmentOf(const RunEndCase& c) {
  std::map<std::string, std::string> environment = {{"RFCSIM_RECORD", kRecord}};
  if (!c.flavour.empty()) environment["BRACKWATER_FLAVOUR"] = c.flavour;
  return environment;
}

void PrintTo(const RunEndCase& c, std::ostream* out) { *out << c.name; }

std::string RunEndCaseName(const ::testing::TestParamInfo<RunEndCase>& info) {
  return info.param.name;
}

class ListingRunEnds : public ::testing::TestWithParam<RunEndCase> {};

TEST_P(ListingRunEnds, AfterWhatWasPrinted) {
  const RunEndCase& c = GetParam();
  // PRD, QAS and DEV, measured in this order.
  Files files = SystemFiles({kPrd, kQas, kDev});
  files[kLandscape] = LandscapeOf({kPrd, c.qas, kDev});
  files[kGlobalListing] = Listing("PRD.P00#QAS.P00#DEV.P00#");
  Outcome outcome = RunSensor(
      InPrtg({.arguments = c.arguments, .files = files, .environment = EnvironmentOf(c)}));

  ExpectListingOutcome(outcome, c.out, c.exit_code, c.changed_files, 0);
  ExpectEveryConnectionClosed(outcome);
  // Through the NetWeaver library the record's logons name no destination:
  // that library has no destination beside an explicit address.
  if (!ThroughNetWeaver()) {
    EXPECT_THAT(LoggedOnDestinations(outcome), ElementsAreArray(c.logged_on));
  }
}

// Side by side the run ends at the same system with the same bytes: what
// DEV measured meanwhile is dropped, and DEV logs off all the same.
TEST_P(ListingRunEnds, SideBySideAtTheSameSystem) {
  const RunEndCase& c = GetParam();
  Files files = SystemFiles({kPrd, kQas, kDev});
  files[kLandscape] = LandscapeOf({kPrd, c.qas, kDev});
  files[kGlobalListing] = Listing("PRD.P00#QAS.P00#DEV.P00#");
  const Scenario scenario =
      InPrtg({.arguments = c.arguments, .files = files, .environment = EnvironmentOf(c)});
  const Outcome one_after_another = RunSensor(OneAfterAnother(scenario));
  Outcome side_by_side = RunSensor(SideBySide(scenario));

  ExpectListingOutcome(side_by_side, MaskTimes(one_after_another.out), c.exit_code, c.changed_files,
                       0);
  EXPECT_EQ(MaskTimes(side_by_side.err), MaskTimes(one_after_another.err));
  ExpectEveryConnectionClosed(side_by_side);
}

const std::string kProbeFault = R"({"operation": "RfcReceive GET_CPU_ALL", "result": 2,
    "exception": "NOT_ACTIVE", "message": "collector not active"})";
const std::string kProbeFailed = "Error 1012: Exception.: NOT_ACTIVE - collector not active";

INSTANTIATE_TEST_SUITE_P(
    SecondSystem, ListingRunEnds,
    ::testing::Values(
        // What PRTG reads: the opening and the first channel, then the
        // error document.
        RunEndCase{
            "ProbeFails",
            kGlobal,
            WithFault(kQas, kProbeFault),
            PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgErrorDocument(kProbeFailed),
            {kRecord, kTraceFile},
            {"PRD", "QAS"}},
        RunEndCase{"ProbeFailsOnConsole",
                   {"GLOBAL", "PRD01 $"},
                   WithFault(kQas, kProbeFault),
                   Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
                       PrtgChannel("PRD", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") +
                       PrtgErrorDocument(kProbeFailed),
                   {kRecord, kTraceFile},
                   {"PRD", "QAS"}},
        RunEndCase{"SystemInformationFails",
                   kGlobal,
                   WithFault(kQas, R"({"operation": "RfcReceive RFC_SYSTEM_INFO", "result": 3,
                                    "message": "system information unavailable"})"),
                   PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                       PrtgErrorDocument(
                           "Error 1013: Sys-Exception raised ! - system information unavailable"),
                   {kRecord, kTraceFile},
                   {"PRD", "QAS"}},
        RunEndCase{"DatabaseMismatch",
                   kGlobal,
                   With(kQas, [](SapSystem& s) { s.database = "ORACLE"; }),
                   PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                       PrtgErrorDocument("Error 1018: DataBase mismatch !"),
                   {kRecord},
                   {"PRD", "QAS"}},
        // The check wants "ADA" in capitals.
        RunEndCase{"DatabaseNameInLowerCase",
                   {"GLOBAL", "PRD01 $"},
                   With(kQas, [](SapSystem& s) { s.database = "ada d"; }),
                   Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
                       PrtgChannel("PRD", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") +
                       PrtgErrorDocument("Error 1018: DataBase mismatch !"),
                   {kRecord},
                   {"PRD", "QAS"}},
        // The formats that answer once: the error alone, as the SAP side's.
        RunEndCase{"ProbeFailsNagios",
                   {"GLOBAL", "PRD01 $"},
                   WithFault(kQas, kProbeFault),
                   "MAXDB CRITICAL - " + kProbeFailed + "\n",
                   {kRecord, kTraceFile},
                   {"PRD", "QAS"},
                   "Nagios"},
        RunEndCase{"DatabaseMismatchScriptV2",
                   kGlobal,
                   With(kQas, [](SapSystem& s) { s.database = "ORACLE"; }),
                   R"({"version":2,"status":"error","message":"Error 1018: DataBase mismatch !"})"
                   "\n",
                   {kRecord},
                   {"PRD", "QAS"},
                   "ScriptV2",
                   0}),
    RunEndCaseName);

}  // namespace
}  // namespace e2e::listing
