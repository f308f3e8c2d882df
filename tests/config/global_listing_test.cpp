#include "config/global_listing.h"

#include <gtest/gtest.h>

#include "config/run_options.h"
#include "output/texts.h"

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

// Reads the global listing for the sensor the options name first.
config::Checked<config::ListingPlan> Global(const std::string& options,
                                            const std::vector<std::string>& lines) {
  const auto parsed = std::get<config::RunOptions>(config::ParseRunOptions(options));
  return config::ReadGlobalListing(lines, parsed.upper, options);
}

config::ListingPlan PlanOf(const config::Checked<config::ListingPlan>& checked) {
  if (const auto* error = std::get_if<config::ConfigError>(&checked)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<config::ListingPlan>(checked);
}

std::string ErrorOf(const config::Checked<config::ListingPlan>& checked) {
  const auto* error = std::get_if<config::ConfigError>(&checked);
  return error != nullptr ? error->message : "";
}

using Systems = std::vector<std::string>;

TEST(GlobalListing, GroupAndItemLines) {
  const config::ListingPlan plan = PlanOf(Global(
      "prd01", {
                   GroupLine("PRD01", "PRD.P00#QAS.P00#"),
                   "unrelated line",
                   "# gsng: prd01       DEV.P00#",  // marker and name in any case
                   ItemLine("PRD01", std::string("Item=Used:Area,Alias,Host") + kMark + ",Profile"),
                   GroupLine("PRD02", "OTHER.P00#"),
               }));
  EXPECT_EQ(plan.systems, (Systems{"PRD.P00", "QAS.P00", "DEV.P00"}));
  EXPECT_EQ(plan.item, "Used Area");
  // The last naming word in precedence order wins, wherever it stands.
  EXPECT_EQ(plan.naming, config::NamingKind::kHost);
  EXPECT_EQ(plan.options_display, "Item=Used Area,Alias,Host");
}

// Systems are the collected text's entries up to each "#": the last one
// also without it, empty ones too, and an entry may run across lines.
TEST(GlobalListing, SystemEntries) {
  const std::string item = ItemLine("S", std::string("Item=Used") + kMark);
  struct Case {
    std::vector<std::string> lines;
    Systems expected;
  };
  const Case cases[] = {
      {{GroupLine("S", "A#B"), item}, {"A", "B"}},
      {{GroupLine("S", "A##B#"), item}, {"A", "", "B"}},
      {{GroupLine("S", "A#B"), GroupLine("S", "C#"), item}, {"A", "BC"}},
      {{GroupLine("S", "#"), item}, {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlanOf(Global("s", c.lines)).systems, c.expected) << c.lines.front();
  }
}

TEST(GlobalListing, SensorNamesCompareOnTenCharacters) {
  const config::ListingPlan plan =
      PlanOf(Global("ABCDEFGHIJKL", {GroupLine("ABCDEFGHIJXX", "A.P00#").erase(20, 2),
                                     ItemLine("ABCDEFGHIJ", std::string("Item=Free") + kMark)}));
  EXPECT_EQ(plan.systems, Systems{"A.P00"});
  EXPECT_EQ(plan.item, "Free");
}

TEST(GlobalListing, ItemNameStopsAtBlankCommaAndNinetyCharacters) {
  EXPECT_EQ(PlanOf(Global("S", {GroupLine("S", "A#"),
                                ItemLine("S", "x,Item=" + std::string(95, 'n') + kMark)}))
                .item,
            std::string(90, 'n'));
  EXPECT_EQ(PlanOf(Global("S", {GroupLine("S", "A#"),
                                ItemLine("S", std::string("Item=Temp Used") + kMark)}))
                .item,
            "Temp");
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
       std::string(output::texts::kError1029)},
      {"no item line", {GroupLine("S", "A#")}, "Error 1030: Global Sensor s not found..."},
      {"no systems", {item}, std::string(output::texts::kError1025)},
      {"line of 20 characters adds no system",
       {GroupLine("S", "").substr(0, 20), item},
       std::string(output::texts::kError1025)},
      {"no item name",
       {GroupLine("S", "A#"), ItemLine("S", std::string("Other=1") + kMark)},
       std::string(output::texts::kError1026)},
      {"1030 before 1025", {}, "Error 1030: Global Sensor s not found..."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(Global("s", c.lines)), c.expected) << c.what;
  }
  EXPECT_EQ(ErrorOf(config::ReadGlobalListing({}, "", "")),
            "Error 1030: Global Sensor  not found...");
}

// Each key of a group or item line once, in the order it first comes, read
// as a sensor named with that key reads the listing.
TEST(GlobalListing, EveryListedSensor) {
  const std::string mark = kMark;
  const std::vector<std::string> lines = {
      GroupLine("PRD01", "A.P00#B.P00#"),
      "# GSNX: SHORT",  // too short for any sensor's key
      ItemLine("prd01", "Item=Used" + mark),
      GroupLine("LONELY", "C.P00#"),
      ItemLine("OTHER", "Item=Free,Sensor=\"SAP Other\""),
      ItemLine("NOSYS", "Item=Free" + mark),
      ItemLine("NOITEM", "Other=1" + mark),
      GroupLine("NOITEM", "D.P00#"),
      GroupLine("AB CD", "E.P00#"),
      ItemLine("AB CD", "Item=Free" + mark),
      GroupLine("", "F.P00#"),
      ItemLine("", "Item=Free" + mark),
      GroupLine("PRD01", "G.P00#"),
  };
  struct Expected {
    std::string key;
    bool nameable;
    std::string error;
    Systems systems;
  };
  const std::vector<Expected> expected = {
      {"PRD01", true, "", {"A.P00", "B.P00", "G.P00"}},
      {"LONELY", true, "Error 1030: Global Sensor LONELY not found...", {}},
      {"OTHER", true, std::string(output::texts::kError1029), {}},
      {"NOSYS", true, std::string(output::texts::kError1025), {}},
      {"NOITEM", true, std::string(output::texts::kError1026), {}},
      {"AB CD", false, "", {"E.P00"}},
      {"", true, "", {"F.P00"}},
  };
  const std::vector<config::ListedSensor> sensors = config::ReadEveryListedSensor(lines);
  ASSERT_EQ(sensors.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const config::ListedSensor& sensor = sensors[i];
    const Expected& e = expected[i];
    EXPECT_EQ(sensor.key, e.key);
    EXPECT_EQ(sensor.nameable, e.nameable) << e.key;
    EXPECT_EQ(ErrorOf(sensor.plan), e.error) << e.key;
    if (e.error.empty()) {
      EXPECT_EQ(PlanOf(sensor.plan).systems, e.systems) << e.key;
    }
    if (!e.nameable) continue;
    // The sensor named with the key reads the same.
    const config::Checked<config::ListingPlan> sensor_reads = Global(e.key, lines);
    EXPECT_EQ(ErrorOf(sensor_reads), e.error) << e.key;
    if (e.error.empty()) {
      EXPECT_EQ(PlanOf(sensor_reads).systems, e.systems) << e.key;
      EXPECT_EQ(PlanOf(sensor_reads).item, PlanOf(sensor.plan).item) << e.key;
    }
  }
  // Named by its first word, the key with a blank reads another sensor's.
  EXPECT_EQ(ErrorOf(Global("AB CD", lines)), "Error 1030: Global Sensor AB CD not found...");
  EXPECT_TRUE(config::ReadEveryListedSensor({}).empty());
}

TEST(ItemListing, LinesThatContributeSystems) {
  const config::ListingPlan plan = PlanOf(config::ReadItemListing(
      {
          "# Gsng heading line that is long enough",
          "# GSNG: marked line that is long enough",
          "systems from col 21 PRD.P00#",
          "short",
          "another line, col 21:QAS.P00#",
      },
      "Used Area"));
  EXPECT_EQ(plan.systems, (Systems{"PRD.P00", ":QAS.P00"}));
  EXPECT_EQ(ErrorOf(config::ReadItemListing({"systems from col 21 PRD.P00#"}, "")),
            output::texts::kError1026);
}

}  // namespace
