#include "config/run_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using config::ListingRunOptionsDisplay;
using config::ParseRunOptions;
using config::SingleRunOptionsDisplay;

// Keywords are found in any case and inside other words; values are read
// from the text as given.
TEST(RunOptions, KeywordsAndTheirValues) {
  struct Case {
    const char* text;
    std::optional<std::string> host;
    std::optional<std::string> system_number;
    std::optional<int> channel;
    bool syslog;
  };
  const Case cases[] = {
      {"", std::nullopt, std::nullopt, std::nullopt, false},
      {",host=SapPrd01 ,no=07", "SapPrd01", "07", std::nullopt, false},
      {"x,HOST=,NO=", "", "", std::nullopt, false},
      {"ch=3,syslog", std::nullopt, std::nullopt, 3, true},
      {"MATCH=12", std::nullopt, std::nullopt, 12, false},
      {"CH= -4", std::nullopt, std::nullopt, -4, false},
      {"CH=x", std::nullopt, std::nullopt, 0, false},
      {"ITEM=A,SYSLOGGER", std::nullopt, std::nullopt, std::nullopt, true},
  };
  for (const Case& c : cases) {
    const config::RunOptions options = ParseRunOptions(c.text);
    EXPECT_EQ(options.host, c.host) << c.text;
    EXPECT_EQ(options.system_number, c.system_number) << c.text;
    EXPECT_EQ(options.channel, c.channel) << c.text;
    EXPECT_EQ(options.syslog, c.syslog) << c.text;
  }
  EXPECT_EQ(ParseRunOptions("item=Used:Area,x").item, "Used Area");
  EXPECT_FALSE(ParseRunOptions("ITEM").item.has_value());
}

TEST(RunOptions, SingleAndListingDisplays) {
  EXPECT_EQ(SingleRunOptionsDisplay(""), "(No Parameters)");
  EXPECT_EQ(SingleRunOptionsDisplay("(No "), "(No Parameters)");
  EXPECT_EQ(SingleRunOptionsDisplay("(Parameters "), "(No Parameters)");
  EXPECT_EQ(SingleRunOptionsDisplay("(Parameters"), "(Parameters");
  EXPECT_EQ(SingleRunOptionsDisplay("#abc"), "(No Parameters)");
  EXPECT_EQ(SingleRunOptionsDisplay("abc@def#ghi"), "abc");
  EXPECT_EQ(SingleRunOptionsDisplay("(No #x"), "(No Parameters)");
  EXPECT_EQ(ListingRunOptionsDisplay("Item=Used:Area @x"), "Item=Used Area");
  EXPECT_EQ(ListingRunOptionsDisplay("a@b"), "a@b");
}

}  // namespace
