#include "config/global_listing.h"

#include <gtest/gtest.h>

#include "include/run_end.h"
#include "include/texts.h"

namespace {

constexpr const char* kMark = ",Sensor=\"SAP Brackwater\"";

// Group lines carry the systems from column 21, item lines the item text
// from column 20; the sensor name stands in columns 9-18.
std::string Padded(std::string name) {
  name.resize(std::max<std::size_t>(name.size(), 10), ' ');
  return name;
}
std::string GroupLine(const std::string& name, const std::string& systems) {
  return "# GSNG: " + Padded(name) + "  " + systems;
}
std::string ItemLine(const std::string& name, const std::string& item) {
  return "# GSNX: " + Padded(name) + " " + item;
}

RunState ListingRun(const std::string& options) {
  RunState run;
  run.Arguments = {"GLOBAL", options};
  run.RunOptions = options;
  for (char& c : run.RunOptions) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return run;
}

std::string ErrorOf(RunState& run, const std::vector<std::string>& lines) {
  try {
    ApplyGlobalListing(run, lines);
  } catch (const ErrorDocumentExit& e) {
    return e.what();
  }
  return "";
}

TEST(GlobalListing, GroupAndItemLines) {
  RunState run = ListingRun("prd01");
  ApplyGlobalListing(
      run, {
               GroupLine("PRD01", "PRD.P00#QAS.P00#"),
               "unrelated line",
               "# gsng: prd01       DEV.P00#",  // marker and name in any case
               ItemLine("PRD01", std::string("Item=Used:Area,Alias,Host") + kMark + ",Profile"),
               GroupLine("PRD02", "OTHER.P00#"),
           });
  EXPECT_EQ(run.PendingSystems, "PRD.P00#QAS.P00#DEV.P00#");
  EXPECT_EQ(run.ItemName, "Used Area");
  // The last naming word in precedence order wins, wherever it stands.
  EXPECT_EQ(run.NamingKind, '3');
  EXPECT_EQ(run.RunOptionsOriginal, "Item=Used Area,Alias,Host");
}

TEST(GlobalListing, SensorNamesCompareOnTenCharacters) {
  RunState run = ListingRun("ABCDEFGHIJKL");
  ApplyGlobalListing(run, {GroupLine("ABCDEFGHIJXX", "A.P00#").erase(20, 2),
                           ItemLine("ABCDEFGHIJ", std::string("Item=Free") + kMark)});
  EXPECT_EQ(run.PendingSystems, "A.P00#");
  EXPECT_EQ(run.ItemName, "Free");
}

TEST(GlobalListing, ItemNameStopsAtBlankCommaAndNinetyCharacters) {
  RunState run = ListingRun("S");
  ApplyGlobalListing(
      run, {GroupLine("S", "A#"), ItemLine("S", "x,Item=" + std::string(95, 'n') + kMark)});
  EXPECT_EQ(run.ItemName, std::string(90, 'n'));
  ApplyGlobalListing(run,
                     {GroupLine("S", "A#"), ItemLine("S", std::string("Item=Temp Used") + kMark)});
  EXPECT_EQ(run.ItemName, "Temp");
}

TEST(GlobalListing, ErrorsInTheirOrder) {
  const std::string item = ItemLine("S", std::string("Item=Used") + kMark);
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"item line naming another program",
       {GroupLine("S", "A#"), ItemLine("S", "Item=Used,Sensor=\"SAP Other\""), item},
       std::string(texts::kError1029)},
      {"no item line", {GroupLine("S", "A#")}, "Error 1030: Global Sensor s not found..."},
      {"no systems", {item}, std::string(texts::kError1025)},
      {"line of 20 characters adds no system",
       {GroupLine("S", "").substr(0, 20), item},
       std::string(texts::kError1025)},
      {"no item name",
       {GroupLine("S", "A#"), ItemLine("S", std::string("Other=1") + kMark)},
       std::string(texts::kError1026)},
      {"1030 before 1025", {}, "Error 1030: Global Sensor s not found..."},
  };
  for (const Case& c : cases) {
    RunState run = ListingRun("s");
    EXPECT_EQ(ErrorOf(run, c.lines), c.expected) << c.what;
  }
  RunState no_argument = ListingRun("");
  no_argument.Arguments = {"GLOBAL"};
  EXPECT_EQ(ErrorOf(no_argument, {}), "Error 1030: Global Sensor  not found...");
}

TEST(ItemListing, LinesThatContributeSystems) {
  RunState run;
  run.ItemName = "Used Area";
  ApplyItemListing(run, {
                            "# Gsng heading line that is long enough",
                            "# GSNG: marked line that is long enough",
                            "systems from col 21 PRD.P00#",
                            "short",
                            "another line, col 21:QAS.P00#",
                        });
  EXPECT_EQ(run.PendingSystems, "PRD.P00#:QAS.P00#");
  run.ItemName.clear();
  try {
    ApplyItemListing(run, {"systems from col 21 PRD.P00#"});
    FAIL();
  } catch (const ErrorDocumentExit& e) {
    EXPECT_EQ(e.what(), texts::kError1026);
  }
}

}  // namespace
