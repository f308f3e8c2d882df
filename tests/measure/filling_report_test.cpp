// What a DEVSTAT row makes of the output: the single-system run's text line
// and nine channels, the listing run's one item, and the single-system
// run's whole document around them.
#include "measure/filling_report.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "config/password_scramble.h"
#include "driver/single_system_run.h"
#include "output/output_sink.h"
#include "output/result_document.h"
#include "rfc/database_filling.h"
#include "tests/measure/devstat_row.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

rfc::FillingRow RowOf(const DevstatValues& values) {
  const std::string bytes = DevstatRow(values);
  std::array<unsigned char, rfc::kFillingRowLength> row{};
  std::copy(bytes.begin(), bytes.end(), row.begin());
  return rfc::DecodeFillingRow(row);
}

// The nine channels of the example as the PRTG document carries them.
std::string ExampleChannels() {
  output::ResultDocument expected("EXEXML", std::nullopt);
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

constexpr std::string_view kExampleText =
    "\n<Prtg>\n\n<Text>(PRD) DBase Filling: TotalSize=5000, UsedArea=37%, FreeArea=63% "
    "</Text>\n";

TEST(ReportFillingRow, PrintsTextAndLeavesNineChannels) {
  output::ResultDocument document("EXEXML", std::nullopt);
  output::StringSink out;
  measure::ReportFillingRow(document, out, "PRD", RowOf(ExampleDevstat()), std::nullopt);
  EXPECT_EQ(out.text(), kExampleText);
  EXPECT_TRUE(
      document.text().starts_with("\n<Result><Channel>Total Size</Channel>\n<Unit>Custom</Unit>\n"
                                  "<CustomUnit>MByte</CustomUnit>\n<Value>5</Value></Result>\n"));
  EXPECT_EQ(document.text(), ExampleChannels());
}

TEST(ReportFillingRow, DestinationIsEscapedInTheText) {
  output::ResultDocument document("EXEXML", std::nullopt);
  output::StringSink out;
  measure::ReportFillingRow(document, out, "A<&>B", RowOf(ExampleDevstat()), std::nullopt);
  EXPECT_NE(out.text().find("<Text>(A&lt;&amp;&gt;B) DBase Filling:"), std::string::npos);
}

TEST(ReportFillingRow, TextShowsRawSizeChannelShowsMegabytes) {
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
    output::ResultDocument document("EXEXML", std::nullopt);
    output::StringSink out;
    measure::ReportFillingRow(document, out, "PRD", RowOf(values), std::nullopt);
    EXPECT_NE(out.text().find("TotalSize=" + c.raw + ","), std::string::npos) << c.conf_size;
    EXPECT_NE(document.text().find("<Channel>Total Size</Channel>\n<Unit>Custom</Unit>\n"
                                   "<CustomUnit>MByte</CustomUnit>\n<Value>" +
                                   c.megabytes + "</Value>"),
              std::string::npos)
        << c.conf_size;
  }
}

TEST(ReportFillingItem, WritesTheNamedItemInPages) {
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
    output::ResultDocument document("EXEXML", std::nullopt);
    output::StringSink out;
    document.Append("left from before");
    const bool delivered = measure::ReportFillingItem(document, out, c.item, "PRD on sapprd",
                                                      RowOf(ExampleDevstat()), std::nullopt);
    EXPECT_EQ(out.text(), c.printed) << c.item;
    EXPECT_EQ(document.text(), "") << c.item;
    // Delivered only with the item's channel.
    EXPECT_EQ(delivered, !c.printed.empty()) << c.item;
  }
}

// A listing run reports each row the filling hands on, as it comes.
TEST(ReportFillingItem, EveryRowOfTheFillingReported) {
  DevstatValues second = ExampleDevstat();
  second.conf_size = PackedNumber("8000");
  struct Case {
    std::vector<std::string> rows;
    std::string printed;
  };
  const std::vector<Case> cases = {
      {{}, ""},
      {{DevstatRow(ExampleDevstat()), DevstatRow(second)},
       "\n<Result><Channel>S1</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Pages</CustomUnit>"
       "\n<Value>5000</Value></Result>\n"
       "\n<Result><Channel>S1</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Pages</CustomUnit>"
       "\n<Value>8000</Value></Result>\n"},
  };
  for (const Case& c : cases) {
    output::ResultDocument document("EXEXML", std::nullopt);
    output::StringSink out;
    StepRun step;
    step.rfc.rows["DEVSTAT"] = c.rows;
    const rfc::StepResult<rfc::FillingRead> read =
        rfc::ReadFilling(step.Step(), [&](const rfc::FillingRow& row) {
          EXPECT_TRUE(
              measure::ReportFillingItem(document, out, "Total Size", "S1", row, std::nullopt));
        });
    EXPECT_TRUE(std::holds_alternative<rfc::FillingRead>(read)) << c.rows.size();
    EXPECT_EQ(out.text(), c.printed) << c.rows.size();
    EXPECT_EQ(document.text(), "") << c.rows.size();
  }
}

// A single-system run of the profile PRD.P00 in a scratch working
// directory, on the classic library over the scripted one, which answers
// as a MaxDB system with the given DEVSTAT rows.
struct SingleSystemRun {
  ScratchDir scratch;
  WorkingDirectory in{scratch.path()};
  TestRun t;

  explicit SingleSystemRun(std::vector<std::string> rows) {
    const std::vector<int> offsets = config::PrintableOffsets("secret");
    const auto password = config::ScramblePassword("secret", offsets.at(0), 4711);
    WriteFile("PRD.P00",
              "Extcompany.: Brackwater Lab\r\n"
              "Destination: PRD\r\n"
              "Client.....: 100\r\n"
              "User.......: monitor\r\n"
              "Password...: " +
                  std::get<std::string>(password) +
                  "\r\n"
                  "Language...: E\r\n"
                  "Mode.......: R/3\r\n"
                  "Hostname...: sapprd\r\n"
                  "Sysnr......: 00\r\n"
                  "Gwhost.....: sapprd\r\n"
                  "Gwservice..: sapgw00\r\n");
    t.run.ProfileName = "PRD.P00";
    t.run.ProfilePath = "PRD.P00";
    std::string rfcsi(200, ' ');
    rfcsi.replace(101, 8, "ADABAS D");
    t.rfc.importing_answer["RFCSI_EXPORT"] = rfcsi;
    t.rfc.rows["DEVSTAT"] = std::move(rows);
  }
};

TEST(SingleSystemRun, DocumentOfTheFirstRowWhateverTheRowCount) {
  DevstatValues second = ExampleDevstat();
  second.conf_size = PackedNumber("8000");
  second.pages_percent = 99;
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    std::string printed;
  };
  const std::vector<Case> cases = {
      {"no row: an empty document, opening and end", {}, "\n<Prtg>\n\n</Prtg>\n"},
      {"one row: its text line and nine channels",
       {DevstatRow(ExampleDevstat())},
       std::string(kExampleText) + ExampleChannels() + "\n</Prtg>\n"},
      {"several rows: the first one alone",
       {DevstatRow(ExampleDevstat()), DevstatRow(second)},
       std::string(kExampleText) + ExampleChannels() + "\n</Prtg>\n"},
  };
  for (const Case& c : cases) {
    SingleSystemRun s(c.rows);
    EXPECT_EQ(driver::RunSingleSystem(s.t.run, s.t.services), 0) << c.what;
    EXPECT_EQ(s.t.out.text(), c.printed) << c.what;
    EXPECT_EQ(s.t.run.Document.text(), "") << c.what;
    // Every row fetched, though one is reported.
    EXPECT_EQ(s.t.rfc.LogOf("ItGetLine DEVSTAT").size(), c.rows.size()) << c.what;
  }
}

}  // namespace
