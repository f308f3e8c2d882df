#include "config/run_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>

namespace {

config::RunOptions ParseRunOptions(const std::string& text) {
  return std::get<config::RunOptions>(config::ParseRunOptions(text));
}

using config::ListingRunOptionsDisplay;
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

// TIMEOUT= takes whole seconds from 1 to 3600 and nothing else.
TEST(RunOptions, TimeoutSecondsOrError1033) {
  const std::string invalid =
      "Error 1033: Invalid option TIMEOUT= - needs whole seconds from 1 to 3600";
  struct Case {
    const char* text;
    std::optional<int> seconds;  // nothing: Error 1033
  };
  const Case cases[] = {
      {"TIMEOUT=1", 1},       {"timeout=3600,SYSLOG", 3600},
      {"# Timeout=50 x", 50}, {"TIMEOUT=0", {}},
      {"TIMEOUT=3601", {}},   {"TIMEOUT=99999", {}},
      {"TIMEOUT=soon", {}},   {"TIMEOUT=", {}},
      {"TIMEOUT=+5", {}},     {"TIMEOUT=5s", {}},
  };
  for (const Case& c : cases) {
    const config::Checked<config::RunOptions> checked = config::ParseRunOptions(c.text);
    if (c.seconds) {
      ASSERT_TRUE(std::holds_alternative<config::RunOptions>(checked)) << c.text;
      EXPECT_EQ(std::get<config::RunOptions>(checked).timeout_seconds, c.seconds) << c.text;
    } else {
      ASSERT_TRUE(std::holds_alternative<config::ConfigError>(checked)) << c.text;
      EXPECT_EQ(std::get<config::ConfigError>(checked).message, invalid) << c.text;
    }
  }
  EXPECT_FALSE(ParseRunOptions("").timeout_seconds.has_value());
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
