#include "driver/start_up.h"

#include <gtest/gtest.h>

#include "driver/run_end.h"
#include "output/texts.h"

namespace {

driver::RunState Start(const std::vector<std::string>& arguments) {
  driver::RunState run;
  driver::StartUp(run, arguments, "12:34:56");
  return run;
}

TEST(StartUp, MissingProfileNameEndsWithError1001) {
  driver::RunState run;
  try {
    driver::StartUp(run, {}, "12:34:56");
    FAIL() << "no error";
  } catch (const driver::ErrorDocumentExit& e) {
    EXPECT_EQ(e.what(), output::texts::kError1001);
  }
  EXPECT_EQ(run.Banner, "* 12:34:56 SAP Brackwater Vers 4.3 / 29.08.22");
}

TEST(StartUp, ProfileNameNormalisation) {
  struct Case {
    std::vector<std::string> arguments;
    const char* profile;
    const char* directory;
    bool global;
    const char* item;
  };
  const Case cases[] = {
      {{"PRD"}, "PRD.P00", "", false, ""},
      {{"prd"}, "prd.P00", "", false, ""},
      {{"prd.p01"}, "prd.p01", "", false, ""},
      {{"AB"}, "AB.P00", "", false, ""},
      {{"A.B"}, "A.B.P00", "", false, ""},
      {{"global"}, "SAP Tessaron.Gbl", "", true, ""},
      {{"Global.P00"}, "SAP Tessaron.Gbl", "", true, ""},
      {{"GLOBAL.P01"}, "GLOBAL.P01", "", false, ""},
      {{"D:\\Sensors\\PRD"}, "PRD.P00", "D:\\Sensors\\", false, ""},
      {{"D:\\Sensors\\global"}, "SAP Tessaron.Gbl", "D:\\Sensors\\", true, ""},
      // A "\" in the first place alone does not split the name.
      {{"\\PRD"}, "\\PRD.P00", "", false, ""},
      {{"PRD", "item=Used Area"}, "Tessaron.Prf", "", true, "Used"},
      {{"PRD", "ITEM=Free:Area"}, "Tessaron.Prf", "", true, "Free Area"},
      {{"PRD", "ITEM=Total", "Size"}, "Tessaron.Prf", "", true, "Total"},
      {{"PRD", "x,Item=Perm:Used,y"}, "Tessaron.Prf", "", true, "Perm Used"},
  };
  for (const Case& c : cases) {
    driver::RunState run = Start(c.arguments);
    std::string what = c.arguments.front() + (c.arguments.size() > 1 ? " " + c.arguments[1] : "");
    EXPECT_EQ(run.ProfileName, c.profile) << what;
    EXPECT_EQ(run.ProfileDirectory, c.directory) << what;
    EXPECT_EQ(run.GlobalMode, c.global) << what;
    EXPECT_EQ(run.ItemName, c.item) << what;
  }
}

TEST(StartUp, ItemNameStopsAfterNinetyCharacters) {
  driver::RunState run = Start({"PRD", "ITEM=" + std::string(100, 'x')});
  EXPECT_EQ(run.ItemName, std::string(90, 'x'));
}

TEST(StartUp, OptionTextAndConsoleMode) {
  struct Case {
    std::vector<std::string> arguments;
    const char* options;
    bool console;
  };
  const Case cases[] = {
      {{"PRD"}, "", false},
      {{"PRD", "abc"}, "ABC", false},
      {{"PRD", "a#"}, "A#", true},
      {{"PRD", "@"}, "@", true},
      {{"PRD", "$"}, "$", true},
      {{"PRD", "x", "%"}, "X %", true},
      {{"PRD", "", "y"}, " Y", false},
      {{"PRD", "a", "b", "ignored #"}, "A B", false},
  };
  for (const Case& c : cases) {
    driver::RunState run = Start(c.arguments);
    EXPECT_EQ(run.Options.upper, c.options);
    EXPECT_EQ(run.Options.console, c.console) << c.options;
  }
  EXPECT_EQ(Start({"PRD", "Mixed,Host=abc"}).Options.text, "Mixed,Host=abc");
  // A deadline typed as a word of its own after the console mark.
  const driver::RunState listing = Start({"GLOBAL", "PRD01", "@", "LIMITS=80/90", "TIMEOUT=5"});
  EXPECT_EQ(listing.Options.timeout_seconds, 5);
  EXPECT_EQ(listing.Options.text, "PRD01 @");
}

}  // namespace
