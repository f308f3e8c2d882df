// Listing runs that go through to their summary: one channel per measured
// system, named as the listing asks, each system counted as processed or
// failed, in every flavour.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/alarm_fixtures.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/listing_fixtures.h"
#include "tests/e2e/sensor_target.h"

namespace e2e::listing {
namespace {

using namespace printed;
using Files = std::map<std::string, std::string>;

const std::vector<std::string> kGlobal = {"GLOBAL", "PRD01"};
const std::vector<std::string> kGlobalOnConsole = {"GLOBAL", "PRD01 $"};
const std::string kUsedAreaByAlias = ItemText("Item=Used:Area,Alias");
const std::vector<std::string> kTraceWritten = {kTraceFile};
const std::string kFillingFault =
    R"({"operation": "RfcReceive ADA_DB_FILLING", "result": 2, "exception": "NO_DATA"})";

// PRD, QAS and DEV with their profiles, listed for the sensor PRD01 in this
// order, with `changes` on top; the landscape may describe other systems.
Files ThreeSystems(const Files& changes = {},
                   const std::vector<SapSystem>& landscape = {kPrd, kQas, kDev}) {
  Files files = SystemFiles({kPrd, kQas, kDev});
  files[kLandscape] = LandscapeOf(landscape);
  files[kGlobalListing] = Listing("PRD.P00#QAS.P00#DEV.P00#");
  return Merged(files, changes);
}

// The three systems with one monitoring user for all, MONITOR with the
// password Shared7x; the profiles of PRD and DEV hold no user and no
// password, QAS's a pair that no system takes.
Files MonitorCredentialSystems() {
  std::vector<SapSystem> systems = {kPrd, kQas, kDev};
  for (SapSystem& system : systems) system.password = "Shared7x";
  Files files = ThreeSystems({}, systems);
  for (const char* profile : {"PRD.P00", "DEV.P00"}) {
    files[profile] = WithoutLine(WithoutLine(files[profile], "User"), "Password");
  }
  SapSystem stranger = kQas;
  stranger.user = "NOBODY";
  stranger.password = "Wrong12";
  files["QAS.P00"] = ProfileOf(stranger);
  return files;
}

Files Without(Files files, const std::string& name) {
  files.erase(name);
  return files;
}

// The console of a three-system run in which QAS fares as `qas` says
// (its channel, if any, and its state) and the others are processed.
std::string ThreeSystemsOnConsole(const std::string& qas_channel, const std::string& qas_state,
                                  const std::string& summary) {
  return Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
         PrtgChannel("PRD", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") + qas_channel +
         qas_state + PrtgChannel("DEV", Value(kDev)) + State("DEV.P00", kDev, "Processed") +
         summary + Processed();
}

std::string SidOf(int i) { return (i < 10 ? "S0" : "S") + std::to_string(i); }

// Systems S01 to S`count`, each with its own number of used pages, listed
// on one group line for the sensor PRD01 and named by their profiles. The
// files lie in the working directory, where other monitors' installations
// keep them (and PRTG's, with InPrtg).
Files NumberedSystems(int count) {
  std::vector<SapSystem> systems;
  std::string entries;
  for (int i = 1; i <= count; ++i) {
    std::string sid = SidOf(i);
    systems.push_back({.sid = sid, .host = "host" + sid, .used_pages = 1000 + i});
    entries += sid + ".P00#";
  }
  Files files = SystemFiles(systems);
  files[kGlobalListing] = Listing(entries, ItemText("Item=Used:Area,Profile"));
  return files;
}

std::string PrtgChannels(int count) {
  std::string channels;
  for (int i = 1; i <= count; ++i) {
    channels += PrtgChannel(SidOf(i) + ".P00", std::to_string(1000 + i));
  }
  return channels;
}

std::string HalvaricChannels(int count) {
  std::string channels;
  for (int i = 1; i <= count; ++i) {
    std::string sid = SidOf(i);
    channels += HalvaricChannel(sid + "_P00", sid + ".P00", std::to_string(1000 + i));
  }
  return channels;
}

struct ListingCase {
  std::string name;
  Scenario scenario;
  std::string out;
  std::vector<std::string> changed_files = {};
  int missing_profiles = 0;
  // The monitoring plugin's state.
  int exit_code = 0;
};

void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<ListingCase>& info) { return info.param.name; }

class ListingRun : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingRun, ReportsEachSystemAndCounts) {
  const ListingCase& c = GetParam();
  Outcome outcome = RunSensor(c.scenario);
  ExpectListingOutcome(outcome, c.out, c.exit_code, c.changed_files, c.missing_profiles);
}

// Side by side, each system in a process of its own, the run answers with
// the bytes of the run that measures one system after another.
TEST_P(ListingRun, SideBySideAnswersTheSame) {
  const ListingCase& c = GetParam();
  const Outcome one_after_another = RunSensor(OneAfterAnother(c.scenario));
  Outcome side_by_side = RunSensor(SideBySide(c.scenario));
  ExpectListingOutcome(side_by_side, MaskTimes(one_after_another.out), c.exit_code, c.changed_files,
                       c.missing_profiles);
  EXPECT_EQ(MaskTimes(side_by_side.err), MaskTimes(one_after_another.err));
}

// Which systems count as processed and which as failed; no failed system
// stops the run.
INSTANTIATE_TEST_SUITE_P(
    Counting, ListingRun,
    ::testing::Values(
        // What PRTG reads: the document alone.
        ListingCase{"ProfileMissing",
                    InPrtg({.arguments = kGlobal, .files = Without(ThreeSystems(), "QAS.P00")}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("DEV", Value(kDev)) + PrtgSummary("Used Area", 3, 2, 0),
                    {},
                    1},
        // A missing profile shows no state line either.
        ListingCase{
            "ProfileMissingOnConsole",
            InPrtg({.arguments = kGlobalOnConsole, .files = Without(ThreeSystems(), "QAS.P00")}),
            ThreeSystemsOnConsole("", "", PrtgSummary("Used Area", 3, 2, 0)),
            {},
            1},
        // Every system logs on with the user and password PRTG keeps for the
        // device ("CRED="); their profiles hold neither, and the profile
        // that still has a wrong pair is overruled.
        ListingCase{"MonitorCredentials",
                    InPrtg({.arguments = {"GLOBAL", "PRD01", "CRED=WINDOWS"},
                            .files = MonitorCredentialSystems(),
                            .environment = {{"prtg_windowsuser", "monitor"},
                                            {"prtg_windowspassword", "Shared7x"}}}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("QAS", Value(kQas)) + PrtgChannel("DEV", Value(kDev)) +
                        PrtgSummary("Used Area", 3, 3, 0)},
        ListingCase{"AllProcessed",
                    InPrtg({.arguments = kGlobalOnConsole, .files = ThreeSystems()}),
                    ThreeSystemsOnConsole(PrtgChannel("QAS", Value(kQas)),
                                          State("QAS.P00", kQas, "Processed"),
                                          PrtgSummary("Used Area", 3, 3, 0))},
        // The library's trace file stays for the operator: only a successful
        // single-system run deletes it.
        ListingCase{"LeavesTraceFileInPlace",
                    InPrtg({.arguments = kGlobal,
                            .files = ThreeSystems({{kTraceFile, "earlier trace\r\n"}})}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("QAS", Value(kQas)) + PrtgChannel("DEV", Value(kDev)) +
                        PrtgSummary("Used Area", 3, 3, 0)},
        ListingCase{"ItemNotFound",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems({{kGlobalListing,
                                                    Listing("PRD.P00#QAS.P00#DEV.P00#",
                                                            ItemText("Item=Bogus,Alias"))}})}),
                    Banner() + Executing("Item=Bogus,Alias") + PrtgOpening() +
                        State("PRD.P00", kPrd, "Not Found") + State("QAS.P00", kQas, "Not Found") +
                        State("DEV.P00", kDev, "Not Found") + PrtgSummary("Bogus", 3, 0, 3) +
                        Processed()},
        // Item names compare as written.
        ListingCase{"ItemInOtherCase",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems({{kGlobalListing,
                                                    Listing("PRD.P00#QAS.P00#DEV.P00#",
                                                            ItemText("Item=used:area,Alias"))}})}),
                    Banner() + Executing("Item=used area,Alias") + PrtgOpening() +
                        State("PRD.P00", kPrd, "Not Found") + State("QAS.P00", kQas, "Not Found") +
                        State("DEV.P00", kDev, "Not Found") + PrtgSummary("used area", 3, 0, 3) +
                        Processed()},
        ListingCase{"FillingWithoutRows",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems(
                                {}, {kPrd, With(kQas, [](SapSystem& s) { s.devstat_rows = "[]"; }),
                                     kDev})}),
                    ThreeSystemsOnConsole("", State("QAS.P00", kQas, "Not Found"),
                                          PrtgSummary("Used Area", 3, 2, 1))},
        // Measured all the same, but a profile without a password is defective.
        ListingCase{"EmptyPassword",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems(
                                {{"QAS.P00", WithValue(ProfileOf(kQas), "Password...:", "")}},
                                {kPrd, With(kQas, [](SapSystem& s) { s.password = ""; }), kDev})}),
                    ThreeSystemsOnConsole(PrtgChannel("QAS", Value(kQas)),
                                          State("QAS.P00", kQas, "Rfc Failure"),
                                          PrtgSummary("Used Area", 3, 2, 1))},
        // A system number of one digit still reaches system 01.
        ListingCase{
            "FieldBelowMinimumLength",
            InPrtg({.arguments = kGlobalOnConsole,
                    .files = ThreeSystems({{"QAS.P00",
                                            WithValue(ProfileOf(kQas), "Sysnr......:", "1")}})}),
            ThreeSystemsOnConsole(PrtgChannel("QAS", Value(kQas)),
                                  State("QAS.P00", "sapqas01", "QAS", "1", "200", "Rfc Failure"),
                                  PrtgSummary("Used Area", 3, 2, 1))},
        ListingCase{"LogonRefused",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems(
                                {}, {kPrd, With(kQas, [](SapSystem& s) { s.password = "changed"; }),
                                     kDev})}),
                    ThreeSystemsOnConsole("", State("QAS.P00", kQas, "Rfc Failure"),
                                          PrtgSummary("Used Area", 3, 2, 1)),
                    kTraceWritten},
        ListingCase{
            "SystemNotReached",
            InPrtg({.arguments = kGlobalOnConsole, .files = ThreeSystems({}, {kPrd, kDev})}),
            ThreeSystemsOnConsole("", State("QAS.P00", kQas, "Rfc Failure"),
                                  PrtgSummary("Used Area", 3, 2, 1)),
            kTraceWritten},
        // The failure's text stays out of the summary.
        ListingCase{
            "FillingFails",
            InPrtg({.arguments = kGlobalOnConsole,
                    .files = ThreeSystems({}, {kPrd, WithFault(kQas, kFillingFault), kDev})}),
            ThreeSystemsOnConsole("", State("QAS.P00", kQas, "Rfc Failure"),
                                  PrtgSummary("Used Area", 3, 2, 1)),
            kTraceWritten},
        // Also when no later system follows to replace it.
        ListingCase{"FillingFailsOnLastSystem",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems({{kGlobalListing, Listing("PRD.P00#QAS.P00#")}},
                                                  {kPrd, WithFault(kQas, kFillingFault)})}),
                    Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
                        PrtgChannel("PRD", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") +
                        State("QAS.P00", kQas, "Rfc Failure") + PrtgSummary("Used Area", 2, 1, 1) +
                        Processed(),
                    kTraceWritten},
        // Each row of the filling is a channel of its own.
        ListingCase{"SeveralRowsSeveralChannels",
                    InPrtg({.arguments = kGlobal,
                            .files = ThreeSystems({}, {kPrd,
                                                       With(kQas,
                                                            [](SapSystem& s) {
                                                              s.devstat_rows =
                                                                  R"([{"PAG": 111}, {"PAG": 222}])";
                                                            }),
                                                       kDev})}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgChannel("QAS", "111") +
                        PrtgChannel("QAS", "222") + PrtgChannel("DEV", Value(kDev)) +
                        PrtgSummary("Used Area", 3, 3, 0)},
        // A system with a destination file logs on through "SapRfc.ini",
        // which the run leaves behind.
        ListingCase{
            "LogonThroughDestinationFile",
            InPrtg({.arguments = kGlobalOnConsole,
                    .files =
                        ThreeSystems({{"SapRfc.QAS",
                                       "DEST=QAS\r\nTYPE=A\r\nASHOST=sapqas01\r\nSYSNR=01\r\n"}})}),
            ThreeSystemsOnConsole("* SapRfc.Ini.......: QAS<\n" + PrtgChannel("QAS", Value(kQas)),
                                  State("QAS.P00", kQas, "Processed"),
                                  PrtgSummary("Used Area", 3, 3, 0)),
            {"SapRfc.ini"}},
        // An empty entry names the directory, not a profile.
        ListingCase{
            "EmptyEntry",
            InPrtg({.arguments = kGlobal,
                    .files = ThreeSystems({{kGlobalListing, Listing("PRD.P00##QAS.P00#")}})}),
            PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgChannel("QAS", Value(kQas)) +
                PrtgSummary("Used Area", 3, 2, 0),
            {},
            1},
        ListingCase{"LastEntryWithoutHash",
                    InPrtg({.arguments = kGlobal,
                            .files = ThreeSystems({{kGlobalListing, Listing("PRD.P00#QAS.P00")}})}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("QAS", Value(kQas)) + PrtgSummary("Used Area", 2, 2, 0)}),
    CaseName);

// One system whose profile file PROD.P01 names system PRD on host sapprd01,
// reported under the name the item line's naming word chooses.
ListingCase NamingCase(std::string name, std::string_view item_line_text, std::string channel,
                       std::string entry = "PROD.P01") {
  Files files = {
      {entry, ProfileOf(kPrd)},
      {kLandscape, LandscapeOf({kPrd})},
      {kGlobalListing, GroupLine("PRD01", entry + "#") + ItemLine("PRD01", item_line_text)}};
  return {std::move(name), InPrtg({.arguments = kGlobal, .files = files}),
          PrtgOpening() + PrtgChannel(channel, Value(kPrd)) + PrtgSummary("Used Area", 1, 1, 0)};
}

INSTANTIATE_TEST_SUITE_P(
    Naming, ListingRun,
    ::testing::Values(
        NamingCase("Profile", ItemText("Item=Used:Area,Profile"), "PROD.P01"),
        NamingCase("Alias", ItemText("Item=Used:Area,Alias"), "PROD"),
        NamingCase("AliasOfDefaultExtension", ItemText("Item=Used:Area,Alias"), "PRD", "PRD.P00"),
        NamingCase("Host", ItemText("Item=Used:Area,Host"), "sapprd01"),
        NamingCase("Sid", ItemText("Item=Used:Area,Sid"), "PRD"),
        NamingCase("WithoutNamingWord", ItemText("Item=Used:Area"), "PROD.P01"),
        // Precedence, not position, decides between two naming words.
        NamingCase("HostBeforeAlias", ItemText("Item=Used:Area,Alias,Host"), "sapprd01"),
        NamingCase("SidAfterAlias", ItemText("Item=Used:Area,Sid,Alias"), "PRD"),
        // The whole line is searched, the sensor mark's tail included.
        NamingCase("NamingWordAfterSensorMark", ItemText("Item=Used:Area") + ",Host", "sapprd01"),
        // PRTG reads the channel names as XML.
        NamingCase("ProfileNameEscaped", ItemText("Item=Used:Area,Profile"), "R&amp;D.P00",
                   "R&D.P00")),
    CaseName);

// A line of the item listing whose systems text starts in column 21.
std::string ItemListingLine(std::string_view systems) {
  return "* Systems.......... " + std::string(systems) + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Listings, ListingRun,
    ::testing::Values(
        ListingCase{"TwoGroupLines",
                    InPrtg({.arguments = kGlobal,
                            .files = ThreeSystems({{kGlobalListing,
                                                    GroupLine("PRD01", "PRD.P00#") +
                                                        ItemLine("PRD01", kUsedAreaByAlias) +
                                                        GroupLine("PRD01", "DEV.P00#QAS.P00#")}})}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("DEV", Value(kDev)) + PrtgChannel("QAS", Value(kQas)) +
                        PrtgSummary("Used Area", 3, 3, 0)},
        ListingCase{"SensorNameInLowerCase",
                    InPrtg({.arguments = {"global", "prd01"}, .files = ThreeSystems()}),
                    PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) +
                        PrtgChannel("QAS", Value(kQas)) + PrtgChannel("DEV", Value(kDev)) +
                        PrtgSummary("Used Area", 3, 3, 0)},
        ListingCase{
            "ListingInLowerCase",
            InPrtg({.arguments = kGlobal,
                    .files = ThreeSystems({{kGlobalListing,
                                            "# gsng: prd01       PRD.P00#\r\n# gsnx: prd01      " +
                                                kUsedAreaByAlias + "\r\n"}})}),
            PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgSummary("Used Area", 1, 1, 0)},
        // Only ten characters of a sensor name count: SENSORNAME1 takes the
        // lines of SENSORNAME2 too, and its last item line decides.
        ListingCase{
            "SensorNamesShareTenCharacters",
            InPrtg({.arguments = {"GLOBAL", "SENSORNAME1"},
                    .files = ThreeSystems({{kGlobalListing,
                                            "# GSNG: SENSORNAME1 PRD.P00#\r\n"
                                            "# GSNX: SENSORNAME1" +
                                                ItemText("Item=Used:Area,Alias") +
                                                "\r\n"
                                                "# GSNG: SENSORNAME2 QAS.P00#\r\n"
                                                "# GSNX: SENSORNAME2" +
                                                ItemText("Item=Free:Area:[Prc],Sid") + "\r\n"}})}),
            PrtgOpening() + PrtgChannel("PRD", "63") + PrtgChannel("QAS", "63") +
                PrtgSummary("Free Area [Prc]", 2, 2, 0)},
        // Other sensors' lines are not read, not even a defective one, and
        // a name that only begins like the sensor's is another sensor's.
        ListingCase{
            "OtherSensorsIgnored",
            InPrtg({.arguments = kGlobal,
                    .files = ThreeSystems({{kGlobalListing,
                                            "* Brackwater sensors of ACME Chemicals\r\n" +
                                                GroupLine("PRD02", "QAS.P00#") +
                                                ItemLine("PRD02",
                                                         "Item=Free:Area,Sensor=\"SAP Other\"") +
                                                GroupLine("PRD011", "DEV.P00#") +
                                                ItemLine("PRD011", ItemText("Item=Free:Area")) +
                                                Listing("PRD.P00#")}})}),
            PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgSummary("Used Area", 1, 1, 0)},
        // Sizes go out as the system counts them, per-cent values as they
        // are, all in "Pages".
        ListingCase{
            "RawSize",
            InPrtg({.arguments = kGlobal,
                    .files = ThreeSystems({{kGlobalListing,
                                            Listing("PRD.P00#",
                                                    ItemText("Item=Total:Size,Alias"))}})}),
            PrtgOpening() + PrtgChannel("PRD", "2048000") + PrtgSummary("Total Size", 1, 1, 0)},
        ListingCase{
            "PerCentItem",
            InPrtg({.arguments = kGlobal,
                    .files = ThreeSystems({{kGlobalListing,
                                            Listing("PRD.P00#",
                                                    ItemText("Item=Free:Area:[Prc],Alias"))}})}),
            PrtgOpening() + PrtgChannel("PRD", "63") + PrtgSummary("Free Area [Prc]", 1, 1, 0)},
        // Listing lines are read up to their 199th character: the rest of a
        // longer line is no group line of its own, and the entry cut there
        // ("S23") names no profile.
        ListingCase{"OverlongGroupLineIsCut",
                    InPrtg({.arguments = kGlobal, .files = NumberedSystems(24)}),
                    PrtgOpening() + PrtgChannels(22) + PrtgSummary("Used Area", 23, 22, 0),
                    {},
                    1},
        // The console shows the item text up to " @".
        ListingCase{"ItemTextOnConsole",
                    InPrtg({.arguments = kGlobalOnConsole,
                            .files = ThreeSystems(
                                {{kGlobalListing,
                                  Listing("PRD.P00#", ItemText("Item=Used:Area,Alias @Hub"))}})}),
                    Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
                        PrtgChannel("PRD", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") +
                        PrtgSummary("Used Area", 1, 1, 0) + Processed()},
        // "ITEM=" names the item listing even with the profile name GLOBAL.
        ListingCase{"ItemOptionBeforeGlobal",
                    InPrtg({.arguments = {"GLOBAL", "ITEM=Used:Area"},
                            .files = ThreeSystems({{kItemListing, ItemListingLine("PRD.P00#")},
                                                   {kGlobalListing, Listing("DEV.P00#")}})}),
                    PrtgOpening() + PrtgChannel("PRD.P00", Value(kPrd)) +
                        PrtgSummary("Used Area", 1, 1, 0)},
        // "ITEM=" takes the systems from the item listing and names them by
        // their profiles; the global listing is not read.
        ListingCase{
            "ItemListing",
            InPrtg({.arguments = {"PRD", "ITEM=Used:Area $"},
                    .files = ThreeSystems({{kItemListing,
                                            "# Gsng  systems of the item sensors\r\n"
                                            "# GSNG: PRD01       DEV.P00#\r\n" +
                                                ItemListingLine("PRD.P00#") + "* short line\r\n" +
                                                ItemListingLine("QAS.P00#")},
                                           {kGlobalListing, Listing("DEV.P00#")}})}),
            Banner() + Executing("ITEM=Used Area $") + PrtgOpening() +
                PrtgChannel("PRD.P00", Value(kPrd)) + State("PRD.P00", kPrd, "Processed") +
                PrtgChannel("QAS.P00", Value(kQas)) + State("QAS.P00", kQas, "Processed") +
                PrtgSummary("Used Area", 2, 2, 0) + Processed()}),
    CaseName);

// Growing 40,000 and 100,000 pages a day: 32.3 and 16.5 days left; DEV
// has no history yet.
Files Forecasting(std::string_view item_text, std::string prd_history) {
  return ThreeSystems({{kGlobalListing, Listing("PRD.P00#QAS.P00#DEV.P00#", item_text)},
                       {"PRD.P00.hst", std::move(prd_history)},
                       {"QAS.P00.hst", GrowingHistory(402176, 2048000, 100000, 14)}});
}

const std::vector<std::string> kHistoriesWritten = {"DEV.P00.hst", "PRD.P00.hst", "QAS.P00.hst"};

// "LIMITS=" gives every system's channel PRTG's levels where the item is
// the used or the free area's per cents; the item "Days Until Full" is
// each system's forecast from its own history.
INSTANTIATE_TEST_SUITE_P(
    Alarms, ListingRun,
    ::testing::Values(
        ListingCase{
            "UsedAreaPerCentWithLimits",
            InPrtg({.arguments = {"GLOBAL", "PRD01", "LIMITS=80/90"},
                    .files = ThreeSystems({{kGlobalListing,
                                            Listing("PRD.P00#QAS.P00#",
                                                    ItemText("Item=Used:Area:[Prc],Sid"))}})}),
            PrtgOpening() + PrtgChannel("PRD", "37", "Pages", UsedAreaLimitElements(80, 90)) +
                PrtgChannel("QAS", "37", "Pages", UsedAreaLimitElements(80, 90)) +
                PrtgSummary("Used Area [Prc]", 2, 2, 0)},
        ListingCase{
            "FreeAreaPerCentWithLimits",
            InPrtg({.arguments = {"GLOBAL", "PRD01", "limits=75/95"},
                    .files = ThreeSystems({{kGlobalListing,
                                            Listing("PRD.P00#",
                                                    ItemText("Item=Free:Area:[Prc],Sid"))}})}),
            PrtgOpening() + PrtgChannel("PRD", "63", "Pages", FreeAreaLimitElements(25, 5)) +
                PrtgSummary("Free Area [Prc]", 1, 1, 0)},
        ListingCase{
            "OtherItemsWithoutLimits",
            InPrtg({.arguments = {"GLOBAL", "PRD01", "LIMITS=80/90"},
                    .files = ThreeSystems({{kGlobalListing, Listing("PRD.P00#")}})}),
            PrtgOpening() + PrtgChannel("PRD", Value(kPrd)) + PrtgSummary("Used Area", 1, 1, 0)},
        ListingCase{"DaysUntilFull",
                    InPrtg({.arguments = kGlobal,
                            .files = Forecasting(ItemText("Item=Days:Until:Full,Sid"),
                                                 GrowingHistory(757760, 2048000, 40000, 14))}),
                    PrtgOpening() + PrtgChannel("PRD", "32", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("QAS", "16", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("DEV", "3650", "Days", DaysUntilFullLimitElements()) +
                        PrtgSummary("Days Until Full", 3, 3, 0),
                    kHistoriesWritten},
        // A history that cannot be read or written: the system's channel
        // carries PRTG's warning, and the summary says why.
        ListingCase{"DaysUntilFullWithAHistoryInTrouble",
                    InPrtg({.arguments = kGlobal,
                            .files = Forecasting(ItemText("Item=Days:Until:Full,Sid"),
                                                 GrowingHistory(757760, 2048000, 40000, 14)),
                            .directories = {"DEV.P00.hst"}}),
                    PrtgOpening() + PrtgChannel("PRD", "32", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("QAS", "16", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("DEV", "3650", "Days",
                                    DaysUntilFullLimitElements() + "\n<Warning>1</Warning>") +
                        PrtgSummary("Days Until Full", 3, 3, 0,
                                    "- forecast: DEV.P00.hst not read (a directory) "),
                    {"PRD.P00.hst", "QAS.P00.hst"}},
        // "FORECAST=D" sets the span: PRD grew 200,000 pages a day over the
        // last two days, 1,000 before.
        ListingCase{"DaysUntilFullOverTwoDays",
                    InPrtg({.arguments = {"GLOBAL", "PRD01", "FORECAST=2"},
                            .files = Forecasting(ItemText("Item=Days:Until:Full,Sid"),
                                                 GrowingHistory(357760, 2048000, 1000, 12, 48) +
                                                     GrowingHistory(757760, 2048000, 200000, 2))}),
                    PrtgOpening() + PrtgChannel("PRD", "6", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("QAS", "16", "Days", DaysUntilFullLimitElements()) +
                        PrtgChannel("DEV", "3650", "Days", DaysUntilFullLimitElements()) +
                        PrtgSummary("Days Until Full", 3, 3, 0),
                    kHistoriesWritten}),
    CaseName);

const std::map<std::string, std::string> kHalvaric = {{"BRACKWATER_FLAVOUR", "Halvaric"}};
const std::map<std::string, std::string> kPellmar = {{"BRACKWATER_FLAVOUR", "Pellmar"}};
const std::map<std::string, std::string> kNagios = {{"BRACKWATER_FLAVOUR", "Nagios"}};
const std::map<std::string, std::string> kScriptV2 = {{"BRACKWATER_FLAVOUR", "ScriptV2"}};

// A system's Script v2 channel in the listing's unit; its id comes from its
// name and stays the same from release to release.
std::string ScriptV2Channel(long id, std::string_view name, std::string_view value) {
  return R"({"id":)" + std::to_string(id) + R"(,"name":")" + std::string(name) +
         R"(","type":"integer","kind":"custom","display_unit":"Pages","value":)" +
         std::string(value) + "}";
}

// QAS refuses the logon: counted failed.
Files QasRefused() {
  return ThreeSystems({}, {kPrd, With(kQas, [](SapSystem& s) { s.password = "changed"; }), kDev});
}

INSTANTIATE_TEST_SUITE_P(
    Flavours, ListingRun,
    ::testing::Values(
        // Ten channels for the whole run, however many systems it measures.
        ListingCase{"HalvaricKeepsTenChannels",
                    {.arguments = kGlobal, .files = NumberedSystems(12), .environment = kHalvaric},
                    LinesOpening() + HalvaricChannels(10) + LinesSummary("Used Area", 12, 12, 0)},
        ListingCase{"HalvaricWithinTenChannels",
                    {.arguments = kGlobal, .files = NumberedSystems(10), .environment = kHalvaric},
                    LinesOpening() + HalvaricChannels(10) + LinesSummary("Used Area", 10, 10, 0)},
        ListingCase{"PellmarLines",
                    {.arguments = kGlobal, .files = NumberedSystems(2), .environment = kPellmar},
                    LinesOpening() + PellmarChannel("S01.P00", "1001") +
                        PellmarChannel("S02.P00", "1002") + LinesSummary("Used Area", 2, 2, 0)},
        // "CH=" counts the channels of the whole run; a system without a
        // profile has none.
        ListingCase{"PellmarSelectsChannelOfRun",
                    {.arguments = {"GLOBAL", "PRD01 CH=3"},
                     .files = Without(NumberedSystems(4), "S02.P00"),
                     .environment = kPellmar},
                    "\n1004\n\n"},
        // Channels are counted, not systems: S02 brings two.
        ListingCase{
            "PellmarCountsEveryRow",
            {.arguments = {"GLOBAL", "PRD01 CH=3"},
             .files = Merged(NumberedSystems(3),
                             {{kLandscape,
                               LandscapeOf({{.sid = "S01", .host = "hostS01"},
                                            {.sid = "S02",
                                             .host = "hostS02",
                                             .devstat_rows = R"([{"PAG": 21}, {"PAG": 22}])"},
                                            {.sid = "S03", .host = "hostS03"}})}}),
             .environment = kPellmar},
            "\n22\n\n"},
        ListingCase{"PellmarSelectsChannelBeyondRun",
                    {.arguments = {"GLOBAL", "PRD01 CH=4"},
                     .files = Without(NumberedSystems(4), "S02.P00"),
                     .environment = kPellmar},
                    "\n\n\n"},
        // The formats that judge the run: one answer with the counts and a
        // value per system; a failed system makes the run CRITICAL.
        ListingCase{"NagiosLine",
                    {.arguments = kGlobal, .files = NumberedSystems(2), .environment = kNagios},
                    "MAXDB OK - Used Area: 2 systems, 2 measured, 0 failed | "
                    "'S01.P00'=1001;;;0 'S02.P00'=1002;;;0\n"},
        ListingCase{
            "NagiosFailedSystemIsCritical",
            InPrtg({.arguments = kGlobalOnConsole, .files = QasRefused(), .environment = kNagios}),
            "MAXDB CRITICAL - Used Area: 3 systems, 2 measured, 1 failed | "
            "'PRD'=757760;;;0 'DEV'=130048;;;0\n",
            kTraceWritten, 0, 2},
        ListingCase{"NagiosPerCentItemAgainstLimits",
                    InPrtg({.arguments = {"GLOBAL", "PRD01", "LIMITS=30/90"},
                            .files = ThreeSystems(
                                {{kGlobalListing, Listing("PRD.P00#QAS.P00#",
                                                          ItemText("Item=Used:Area:[Prc],Sid"))}}),
                            .environment = kNagios}),
                    "MAXDB WARNING - Used Area [Prc]: 2 systems, 2 measured, 0 failed | "
                    "'PRD'=37%;30;90;0;100 'QAS'=37%;30;90;0;100\n",
                    {},
                    0,
                    1},
        ListingCase{"NagiosDaysUntilFull",
                    InPrtg({.arguments = kGlobal,
                            .files = Forecasting(ItemText("Item=Days:Until:Full,Sid"),
                                                 GrowingHistory(757760, 2048000, 40000, 14)),
                            .environment = kNagios}),
                    "MAXDB WARNING - Days Until Full: 3 systems, 3 measured, 0 failed | "
                    "'PRD'=32;30:;7:;0 'QAS'=16;30:;7:;0 'DEV'=3650;30:;7:;0\n",
                    kHistoriesWritten, 0, 1},
        ListingCase{"ScriptV2Document",
                    {.arguments = kGlobal, .files = NumberedSystems(2), .environment = kScriptV2},
                    R"({"version":2,"status":"ok","message":"Used Area: 2 systems, 2 measured, )"
                    R"(0 failed","channels":[)" +
                        ScriptV2Channel(969670421, "S01.P00", "1001") + "," +
                        ScriptV2Channel(1077381254, "S02.P00", "1002") + "]}\n"},
        // A system keeps its id when the listing changes: S01 gone, S03
        // added before S02.
        ListingCase{
            "ScriptV2IdsFollowTheSystem",
            {.arguments = kGlobal,
             .files = Merged(NumberedSystems(3),
                             {{kGlobalListing,
                               Listing("S03.P00#S02.P00#", ItemText("Item=Used:Area,Profile"))}}),
             .environment = kScriptV2},
            R"({"version":2,"status":"ok","message":"Used Area: 2 systems, 2 measured, )"
            R"(0 failed","channels":[)" +
                ScriptV2Channel(2028553221, "S03.P00", "1003") + "," +
                ScriptV2Channel(1077381254, "S02.P00", "1002") + "]}\n"},
        ListingCase{"ScriptV2FailedSystemIsError",
                    InPrtg({.arguments = kGlobal, .files = QasRefused(), .environment = kScriptV2}),
                    R"({"version":2,"status":"error","message":"Used Area: 3 systems, 2 measured, )"
                    R"(1 failed","channels":[)" +
                        ScriptV2Channel(1345338029, "PRD", "757760") + "," +
                        ScriptV2Channel(1510938854, "DEV", "130048") + "]}\n",
                    kTraceWritten}),
    CaseName);

// The logon that the record shows for destination `sid`; empty when there
// is none.
std::string LogonOf(const Outcome& outcome, std::string_view sid) {
  for (const std::string& line : Recorded(outcome, "RfcOpen")) {
    if (line.find("\"destination\":\"" + std::string(sid) + "\"") != std::string::npos) {
      return line;
    }
  }
  return {};
}

// Settings never pass from one listed system to the next: QAS's profile
// lacks a line that PRD's has, and QAS's account would take PRD's values.
TEST(ListingRunSettings, NeverCarryOverToTheNextSystem) {
  struct Case {
    std::string label;
    // What the logon record of QAS holds in place of the missing value.
    std::string in_logon;
    // QAS's state line.
    std::string state;
  };
  const SapSystem qas_like_prd = With(kQas, [](SapSystem& s) {
    s.client = "100";
    s.password = "secret";
  });
  const Case cases[] = {
      {"Password...:", R"("password":"          ")",
       State("QAS.P00", "sapqas01", "QAS", "01", "100", "Rfc Failure")},
      {"Client.....:", R"("client":"")",
       State("QAS.P00", "sapqas01", "QAS", "01", "", "Rfc Failure")},
      {"User.......:", R"("user":"            ")",
       State("QAS.P00", "sapqas01", "QAS", "01", "100", "Rfc Failure")},
      {"Hostname...:", R"("host":null)", State("QAS.P00", "", "QAS", "01", "100", "Rfc Failure")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Files files = SystemFiles({kPrd, qas_like_prd});
    files["QAS.P00"] = WithoutLine(files["QAS.P00"], c.label);
    files[kGlobalListing] = Listing("PRD.P00#QAS.P00#");
    const Scenario scenario = InPrtg({.arguments = kGlobalOnConsole,
                                      .files = files,
                                      .environment = {{"RFCSIM_RECORD", kRecord}}});
    // One after another, and side by side (each system in a process of
    // its own, where nothing could carry over).
    for (const Scenario& run : {scenario, SideBySide(scenario)}) {
      Outcome outcome = RunSensor(run);
      ExpectListingOutcome(outcome,
                           Banner() + Executing("Item=Used Area,Alias") + PrtgOpening() +
                               PrtgChannel("PRD", Value(kPrd)) +
                               State("PRD.P00", kPrd, "Processed") + c.state +
                               PrtgSummary("Used Area", 2, 1, 1) + Processed(),
                           0, {kRecord, kTraceFile}, 0);
      ExpectEveryConnectionClosed(outcome);
      // Through the NetWeaver library the record shows the stand-in's own
      // logons: no destination, user and password without the padding the
      // sensor hands a classic library.
      if (ThroughNetWeaver()) continue;
      EXPECT_THAT(LoggedOnDestinations(outcome), ::testing::UnorderedElementsAre("PRD", "QAS"));
      EXPECT_THAT(LogonOf(outcome, "PRD"), ::testing::HasSubstr(R"("password":"secret    ")"));
      EXPECT_THAT(LogonOf(outcome, "QAS"), ::testing::HasSubstr(c.in_logon));
    }
  }
}

}  // namespace
}  // namespace e2e::listing
