#include "measure/database_filling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/measure/devstat_row.h"
#include "tests/rfc/test_run.h"

namespace {

struct FillingRun : TestRun {
  explicit FillingRun(std::vector<std::string> rows) {
    run.Profile.Destination = "PRD";
    rfc.rows["DEVSTAT"] = std::move(rows);
  }
};

// The nine channels of the example as the PRTG document carries them.
std::string ExampleChannels() {
  ResultDocument expected("EXEXML", "");
  expected.WriteChannel("Total Size", "5", "MByte");
  expected.WriteChannel("Used Area", "1", "MByte");
  expected.WriteChannel("Used Area [Prc]", "37", "PerCent");
  expected.WriteChannel("Perm Used Area", "1", "MByte");
  expected.WriteChannel("Perm Used Area [Prc]", "34", "PerCent");
  expected.WriteChannel("Temp Used Area", "0", "MByte");
  expected.WriteChannel("Temp Used Area [Prc]", "3", "PerCent");
  expected.WriteChannel("Free Area", "3", "MByte");
  expected.WriteChannel("Free Area [Prc]", "63", "PerCent");
  return expected.text();
}

TEST(ReadDatabaseFilling, DescribesTablesAndCallsTheModule) {
  FillingRun t({});
  ReadDatabaseFilling(t.run, t.services);

  ASSERT_EQ(t.rfc.structures.size(), 2u);
  EXPECT_EQ(t.rfc.structures[0].name, "ADA_DBHIST");
  const std::vector<fake::Element> history = {
      {"NAME", 0, 70, 0, 0}, {"WDAY", 0, 3, 0, 0},   {"DATUM", 1, 8, 0, 0}, {"ZEIT", 3, 6, 0, 0},
      {"PUSED", 8, 4, 0, 0}, {"PUSEDx", 8, 4, 0, 0}, {"PFREE", 8, 4, 0, 0}, {"PFREEx", 8, 4, 0, 0},
  };
  EXPECT_EQ(t.rfc.structures[0].elements, history);
  EXPECT_EQ(t.rfc.structures[1].name, "ADA_DEVSTA");
  const std::vector<fake::Element> status = {
      {"NAME", 0, 70, 0, 0},      {"CONF_SIZE", 6, 11, 0, 0}, {"PAG", 6, 11, 0, 0},
      {"PAGESx", 8, 4, 0, 0},     {"PERM_USED", 6, 11, 0, 0}, {"PERMx_USED", 8, 4, 0, 0},
      {"TEMP_USED", 6, 11, 0, 0}, {"TEMPx_USED", 8, 4, 0, 0}, {"UN_USED", 6, 11, 0, 0},
      {"UNx_USED", 8, 4, 0, 0},
  };
  EXPECT_EQ(t.rfc.structures[1].elements, status);

  const std::vector<std::string> expected_log = {
      "ItCreate DEVSP_HIST 104",
      "ItCreate DEVSTAT 144",
      "RfcInstallStructure ADA_DBHIST",
      "RfcInstallStructure ADA_DEVSTA",
      "RfcCall ADA_DB_FILLING",
      "RfcReceive",
      "ItFill DEVSTAT",
      "ItDelete DEVSP_HIST",
      "ItDelete DEVSTAT",
  };
  EXPECT_EQ(t.rfc.log, expected_log);

  ASSERT_EQ(t.rfc.calls.size(), 1u);
  const fake::RemoteCall& call = t.rfc.calls[0];
  EXPECT_TRUE(call.exporting.empty());
  EXPECT_TRUE(call.importing.empty());
  const std::vector<fake::Table> tables = {
      {"DEVSP_HIST", 10, t.run.DbHistoryType, "DEVSP_HIST"},
      {"DEVSTAT", 7, t.run.DevStatusType, "DEVSTAT"},
  };
  EXPECT_EQ(call.tables, tables);
}

TEST(ReadDatabaseFilling, SingleSystemRunPrintsTextAndLeavesNineChannels) {
  FillingRun t({DevstatRow(ExampleDevstat())});
  EXPECT_EQ(ReadDatabaseFilling(t.run, t.services), 0);
  EXPECT_EQ(t.run.StepStatus, kStepOk);
  EXPECT_EQ(t.out.text(),
            "\n<Prtg>\n\n<Text>(PRD) DBase Filling: TotalSize=5000, UsedArea=37%, "
            "FreeArea=63% </Text>\n");
  EXPECT_TRUE(t.run.Document.text().starts_with(
      "\n<Result><Channel>Total Size</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>MByte</CustomUnit>\n<Value>5</Value></Result>\n"));
  EXPECT_EQ(t.run.Document.text(), ExampleChannels() + "\n</Prtg>\n");
  EXPECT_FALSE(t.run.DataDelivered);
}

TEST(ReadDatabaseFilling, DestinationIsEscapedInTheText) {
  FillingRun t({DevstatRow(ExampleDevstat())});
  t.run.Profile.Destination = "A<&>B";
  ReadDatabaseFilling(t.run, t.services);
  EXPECT_NE(t.out.text().find("<Text>(A&lt;&amp;&gt;B) DBase Filling:"), std::string::npos);
}

TEST(ReadDatabaseFilling, TextShowsRawSizeChannelShowsMegabytes) {
  struct Case {
    std::string conf_size;
    std::string raw;
    std::string megabytes;
  };
  const std::vector<Case> cases = {
      {"999", "999", "0"},
      {"1999", "1999", "1"},
      {"-1", "4294967295", "4294967"},
      {"2147483648", "2147483648", "2147483"},
  };
  for (const Case& c : cases) {
    DevstatValues values = ExampleDevstat();
    values.conf_size = PackedNumber(c.conf_size);
    FillingRun t({DevstatRow(values)});
    ReadDatabaseFilling(t.run, t.services);
    EXPECT_NE(t.out.text().find("TotalSize=" + c.raw + ","), std::string::npos) << c.conf_size;
    EXPECT_NE(t.run.Document.text().find("<Channel>Total Size</Channel>\n<Unit>Custom</Unit>\n"
                                         "<CustomUnit>MByte</CustomUnit>\n<Value>" +
                                         c.megabytes + "</Value>"),
              std::string::npos)
        << c.conf_size;
  }
}

TEST(ReadDatabaseFilling, SingleSystemRunRowCounts) {
  DevstatValues second = ExampleDevstat();
  second.conf_size = PackedNumber("8000");
  second.pages_percent = 99;
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    std::string printed;
    std::string left;
  };
  const std::vector<Case> cases = {
      {"no row: an empty document, opening and end", {}, "", "\n<Prtg>\n\n</Prtg>\n"},
      {"several rows: the first one alone",
       {DevstatRow(ExampleDevstat()), DevstatRow(second)},
       "\n<Prtg>\n\n<Text>(PRD) DBase Filling: TotalSize=5000, UsedArea=37%, FreeArea=63% "
       "</Text>\n",
       ExampleChannels() + "\n</Prtg>\n"},
  };
  for (const Case& c : cases) {
    FillingRun t(c.rows);
    EXPECT_EQ(ReadDatabaseFilling(t.run, t.services), 0) << c.what;
    EXPECT_EQ(t.run.StepStatus, kStepOk) << c.what;
    EXPECT_EQ(t.out.text(), c.printed) << c.what;
    EXPECT_EQ(t.run.Document.text(), c.left) << c.what;
    // Every row fetched, the count asked anew before each.
    EXPECT_EQ(t.rfc.LogOf("ItGetLine").size(), c.rows.size()) << c.what;
    EXPECT_EQ(t.rfc.Count("ItFill DEVSTAT"), static_cast<int>(c.rows.size()) + 1) << c.what;
  }
}

TEST(ReadDatabaseFilling, ListingRunWritesTheNamedItemInPages) {
  struct Case {
    std::string item;
    std::string printed;  // "" when nothing
  };
  const auto channel = [](const std::string& value) {
    return "\n<Result><Channel>PRD on sapprd</Channel>\n<Unit>Custom</Unit>\n"
           "<CustomUnit>Pages</CustomUnit>\n<Value>" +
           value + "</Value></Result>\n";
  };
  const std::vector<Case> cases = {
      {"Total Size", channel("5000")},
      {"Used Area", channel("1850")},
      {"Used Area [Prc]", channel("37")},
      {"Perm Used Area", channel("1700")},
      {"Perm Used Area [Prc]", channel("34")},
      {"Temp Used Area", channel("150")},
      {"Temp Used Area [Prc]", channel("3")},
      {"Free Area", channel("3150")},
      {"Free Area [Prc]", channel("63")},
      {"total size", ""},
      {"Total Size ", ""},
      {"TotalSize", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    FillingRun t({DevstatRow(ExampleDevstat())});
    t.run.GlobalMode = true;
    t.run.ItemName = c.item;
    t.run.DisplayName = "PRD on sapprd";
    t.run.Document.Append("left from before");
    EXPECT_EQ(ReadDatabaseFilling(t.run, t.services), 0) << c.item;
    EXPECT_EQ(t.out.text(), c.printed) << c.item;
    EXPECT_EQ(t.run.Document.text(), "") << c.item;
    // Delivered only with the item's channel.
    EXPECT_EQ(t.run.DataDelivered, !c.printed.empty()) << c.item;
  }
}

TEST(ReadDatabaseFilling, ListingRunRowCounts) {
  DevstatValues second = ExampleDevstat();
  second.conf_size = PackedNumber("8000");
  struct Case {
    std::vector<std::string> rows;
    std::string printed;
    bool delivered;
  };
  const std::vector<Case> cases = {
      {{}, "", false},
      {{DevstatRow(ExampleDevstat()), DevstatRow(second)},
       "\n<Result><Channel>S1</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Pages</CustomUnit>"
       "\n<Value>5000</Value></Result>\n"
       "\n<Result><Channel>S1</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Pages</CustomUnit>"
       "\n<Value>8000</Value></Result>\n",
       true},
  };
  for (const Case& c : cases) {
    FillingRun t(c.rows);
    t.run.GlobalMode = true;
    t.run.ItemName = "Total Size";
    t.run.DisplayName = "S1";
    ReadDatabaseFilling(t.run, t.services);
    EXPECT_EQ(t.out.text(), c.printed) << c.rows.size();
    EXPECT_EQ(t.run.Document.text(), "") << c.rows.size();
    EXPECT_EQ(t.run.DataDelivered, c.delivered) << c.rows.size();
  }
}

TEST(CallFillingModule, HandsBackTheExceptionText) {
  struct Case {
    int code;
    std::optional<std::string> exception;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {0, "IGNORED", ""},
      {1, "IGNORED", ""},
      {2, "DB_NOT_AVAILABLE", "DB_NOT_AVAILABLE"},
      {3, "SYSTEM_FAILURE", "SYSTEM_FAILURE"},
      {2, std::nullopt, ""},
      {2, std::string(300, 'x'), std::string(255, 'x')},
  };
  for (const Case& c : cases) {
    FillingRun t({});
    t.rfc.receive_result["ADA_DB_FILLING"] = c.code;
    t.rfc.exception["ADA_DB_FILLING"] = c.exception;
    ItabHandle history = t.rfc.ItCreate("DEVSP_HIST", 104);
    ItabHandle status = t.rfc.ItCreate("DEVSTAT", 144);
    std::string exception = "stale";
    EXPECT_EQ(CallFillingModule(t.run, t.services, history, status, exception), c.code);
    EXPECT_EQ(exception, c.expected) << c.code;
  }
}

}  // namespace
