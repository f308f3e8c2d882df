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

// LIMITS= takes two whole per cents, warning not above error; FORECAST
// stands alone as a word (7 days) or takes whole days from 1 to 365.
TEST(RunOptions, LimitsAndForecastOrError1033) {
  const std::string limits_invalid =
      "Error 1033: Invalid option LIMITS= - needs warning/error per cent, e.g. LIMITS=80/90";
  const std::string forecast_invalid =
      "Error 1033: Invalid option FORECAST= - needs whole days from 1 to 365";
  struct Case {
    const char* text;
    std::optional<config::FillingLimits> limits;
    std::optional<int> forecast_days;
    const std::string* error;  // nothing: valid
  };
  const Case cases[] = {
      {"LIMITS=80/90", config::FillingLimits{80, 90}, {}, nullptr},
      {"# limits=1/1,SYSLOG forecast", config::FillingLimits{1, 1}, 7, nullptr},
      {"LIMITS=100/100 FORECAST=365", config::FillingLimits{100, 100}, 365, nullptr},
      {"Forecast=1,CH=10", {}, 1, nullptr},
      {"x,FORECAST", {}, 7, nullptr},
      // Without "=" only a word of its own, between blanks and commas.
      {"FORECASTING", {}, {}, nullptr},
      {",HOST=sapforecast1", {}, {}, nullptr},
      {"@D:\\Sensors\\FORECAST.P00", {}, {}, nullptr},
      {"LIMITS=90/80", {}, {}, &limits_invalid},
      {"LIMITS=abc", {}, {}, &limits_invalid},
      {"LIMITS=80", {}, {}, &limits_invalid},
      {"LIMITS=80/101", {}, {}, &limits_invalid},
      {"LIMITS=0/90", {}, {}, &limits_invalid},
      {"LIMITS=80/90/95", {}, {}, &limits_invalid},
      {"LIMITS=/90", {}, {}, &limits_invalid},
      {"FORECAST=0", {}, {}, &forecast_invalid},
      {"FORECAST=abc", {}, {}, &forecast_invalid},
      {"FORECAST=366", {}, {}, &forecast_invalid},
      {"FORECAST=", {}, {}, &forecast_invalid},
  };
  for (const Case& c : cases) {
    const config::Checked<config::RunOptions> checked = config::ParseRunOptions(c.text);
    if (c.error == nullptr) {
      ASSERT_TRUE(std::holds_alternative<config::RunOptions>(checked)) << c.text;
      EXPECT_EQ(std::get<config::RunOptions>(checked).limits, c.limits) << c.text;
      EXPECT_EQ(std::get<config::RunOptions>(checked).forecast_days, c.forecast_days) << c.text;
    } else {
      ASSERT_TRUE(std::holds_alternative<config::ConfigError>(checked)) << c.text;
      EXPECT_EQ(std::get<config::ConfigError>(checked).message, *c.error) << c.text;
    }
  }
}

// The opt-in keywords are read from the words after the third argument
// too, and refused there as anywhere; the others are not.
TEST(RunOptions, OptInKeywordsInFurtherWords) {
  const auto parsed = [](const std::string& text, std::string_view further) {
    return std::get<config::RunOptions>(config::ParseRunOptions(text, further));
  };
  const config::RunOptions all = parsed("PRD LIMITS=80/90", "TIMEOUT=50 CRED=WINDOWS forecast");
  EXPECT_EQ(all.limits, (config::FillingLimits{80, 90}));
  EXPECT_EQ(all.timeout_seconds, 50);
  EXPECT_EQ(all.credentials, config::MonitorCredentials::kWindows);
  EXPECT_EQ(all.forecast_days, config::kDefaultForecastDays);
  EXPECT_EQ(parsed("@", "x FORECAST=30").forecast_days, 30);
  EXPECT_EQ(parsed("GLOBAL", "PARALLEL=32").parallel_systems, 32);
  EXPECT_EQ(parsed("parallel=1", "").parallel_systems, 1);

  const config::RunOptions described = parsed("a b", ",HOST=other #,SYSLOG ITEM=Total CH=2");
  EXPECT_FALSE(described.host || described.item || described.channel);
  EXPECT_FALSE(described.console || described.syslog);
  EXPECT_EQ(described.text, "a b");

  const config::Checked<config::RunOptions> refused =
      config::ParseRunOptions("$ LIMITS=80/90", "TIMEOUT=0");
  ASSERT_TRUE(std::holds_alternative<config::ConfigError>(refused));
  EXPECT_EQ(std::get<config::ConfigError>(refused).message,
            "Error 1033: Invalid option TIMEOUT= - needs whole seconds from 1 to 3600");
  for (const char* systems : {"PARALLEL=0", "PARALLEL=33", "PARALLEL=", "PARALLEL=4x"}) {
    const config::Checked<config::RunOptions> parallel = config::ParseRunOptions("PRD", systems);
    ASSERT_TRUE(std::holds_alternative<config::ConfigError>(parallel)) << systems;
    EXPECT_EQ(std::get<config::ConfigError>(parallel).message,
              "Error 1033: Invalid option PARALLEL= - needs 1 to 32 systems at once");
  }
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
