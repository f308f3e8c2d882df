// The formats that judge the run and answer once: the monitoring plugin's
// status line and PRTG's Script v2 document, rendered from what the run
// recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/document_record.h"
#include "output/monitor_state.h"
#include "output/nagios_line.h"
#include "output/result_document.h"
#include "output/script_v2_document.h"

namespace {

using output::ChannelLimits;
using output::MonitorState;

TEST(MonitorState, ErrorsAndLevels) {
  // The SAP system's side is CRITICAL, the sensor's own trouble UNKNOWN.
  EXPECT_EQ(output::StateOfError("Error 1010: x"), MonitorState::kUnknown);
  EXPECT_EQ(output::StateOfError("Error 1011: RFC-Open for PRD failed !"), MonitorState::kCritical);
  EXPECT_EQ(output::StateOfError("Error 1018: DataBase mismatch !"), MonitorState::kCritical);
  EXPECT_EQ(output::StateOfError("Error 1019: x"), MonitorState::kUnknown);
  EXPECT_EQ(output::StateOfError("Error 10x1: ProFile x is missing..."), MonitorState::kUnknown);
  EXPECT_EQ(output::StateOfError("Sorry, invalid Path-Usage..."), MonitorState::kUnknown);
  EXPECT_EQ(output::StateOfError("RFC error - key: K"), MonitorState::kUnknown);

  // Upper levels alert above them, lower ones below them; at the level
  // itself nothing.
  const ChannelLimits upper{ChannelLimits::Direction::kUpper, 80, 90, "", ""};
  const ChannelLimits lower{ChannelLimits::Direction::kLower, 30, 7, "", ""};
  EXPECT_EQ(output::StateOfChannel("80", upper, false), MonitorState::kOk);
  EXPECT_EQ(output::StateOfChannel("81", upper, false), MonitorState::kWarning);
  EXPECT_EQ(output::StateOfChannel("91", upper, false), MonitorState::kCritical);
  EXPECT_EQ(output::StateOfChannel("30", lower, false), MonitorState::kOk);
  EXPECT_EQ(output::StateOfChannel("29", lower, false), MonitorState::kWarning);
  EXPECT_EQ(output::StateOfChannel("6", lower, false), MonitorState::kCritical);
  EXPECT_EQ(output::StateOfChannel("6", lower, true), MonitorState::kCritical);
  EXPECT_EQ(output::StateOfChannel("3650", lower, true), MonitorState::kWarning);
  EXPECT_EQ(output::StateOfChannel("x", upper, false), MonitorState::kOk);
}

// A single-system run's record: the text, two channels (one with levels).
output::ResultDocument SmallRun(const char* flavour, const char* used_percent) {
  output::ResultDocument document(flavour, std::nullopt);
  document.FixChannelIds({"Total Size", "Used Area [Prc]", "Days Until Full"});
  document.OpenResultDocument();
  document.OpenResultText();
  document.Append("(PRD) text ");
  document.CloseResultText();
  EXPECT_EQ(document.Take(), "");  // nothing goes out before the answer
  document.WriteChannel("Total Size", "5", "MByte");
  document.WriteChannel("Used Area [Prc]", used_percent, "PerCent",
                        ChannelLimits{ChannelLimits::Direction::kUpper, 80, 90, "", ""});
  document.CloseResultDocument();
  return document;
}

TEST(NagiosLine, StatesTextAndPerformanceData) {
  output::ResultDocument ok = SmallRun("Nagios", "42");
  EXPECT_EQ(ok.Take(),
            "MAXDB OK - (PRD) text | 'Total Size'=5MB;;;0 'Used Area [Prc]'=42%;80;90;0;100\n");
  EXPECT_EQ(ok.ExitCode(0), 0);
  output::ResultDocument critical = SmallRun("Nagios", "95");
  EXPECT_EQ(critical.ExitCode(0), 2);

  // An error replaces the answer; the line keeps to one line and holds no
  // bar that would start performance data.
  output::ResultDocument failed("Nagios", std::nullopt);
  failed.WriteErrorDocument("Error 1011: RFC-Open for A|B\nfailed !");
  EXPECT_EQ(failed.Take(), "MAXDB CRITICAL - Error 1011: RFC-Open for A/B failed !\n");
  EXPECT_EQ(failed.ExitCode(2), 2);

  // Labels hold neither quotes nor equals signs; a listing of per-cent
  // items shows them as per cents; a failed system makes it CRITICAL.
  output::ResultDocument listing("Nagios", std::nullopt);
  listing.OpenResultDocument();
  listing.WriteChannel("it's=A", "37", "Pages");
  listing.RecordListing({"Used Area [Prc]", 2, 1, 1, " Timeout after 5 s at B ", true});
  listing.CloseResultDocument();
  EXPECT_EQ(listing.Take(),
            "MAXDB CRITICAL - Used Area [Prc]: 2 systems, 1 measured, 1 failed Timeout after 5 s "
            "at B | 'it_s_A'=37%;;;0;100\n");

  // A filling without a row: nothing measured, nothing known.
  output::ResultDocument empty("Nagios", std::nullopt);
  empty.OpenResultDocument();
  empty.CloseResultDocument();
  EXPECT_EQ(empty.Take(), "MAXDB UNKNOWN - No filling data from the system\n");
  EXPECT_EQ(empty.ExitCode(0), 3);
}

TEST(ScriptV2Document, StatusMessageAndChannels) {
  output::ResultDocument warned = SmallRun("ScriptV2", "85");
  EXPECT_EQ(warned.Take(),
            R"({"version":2,"status":"warning","message":"(PRD) text","channels":[)"
            R"({"id":10,"name":"Total Size","type":"integer","kind":"custom",)"
            R"("display_unit":"MByte","value":5},)"
            R"({"id":11,"name":"Used Area [Prc]","type":"integer","kind":"percent","value":85}]})"
            "\n");
  EXPECT_EQ(warned.ExitCode(0), 0);

  // The message: quotes, backslashes and control characters escaped,
  // single bytes (ISO 8859-1) as UTF-8, cut after 2,000 characters between
  // characters.
  output::DocumentRecord record;
  record.error = "Error 1002: \"a\\b\"\x01\xE4" + std::string(3000, '\xFC');
  const std::string document = output::ScriptV2Document(record);
  const std::string head = R"({"version":2,"status":"error","message":"Error 1002: \"a\\b\"\u0001)"
                           "\xC3\xA4";
  ASSERT_EQ(document.substr(0, head.size()), head);
  const std::string rest = document.substr(head.size());
  std::size_t umlauts = 0;
  for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
    if (rest.compare(i, 2, "\xC3\xBC") != 0) break;
    ++umlauts;
  }
  EXPECT_EQ(umlauts, 2000u - 19u);  // 19 characters before them
  EXPECT_EQ(rest.substr(umlauts * 2), "\"}\n");

  // At most 50 channels.
  output::DocumentRecord many;
  many.listing = output::ListingCounts{"Used Area", 60, 60, 0, "", false};
  for (int i = 0; i < 60; ++i) {
    many.channels.push_back({"S" + std::to_string(i), "1", "Pages", std::nullopt, false});
  }
  const std::string listed = output::ScriptV2Document(many);
  EXPECT_NE(listed.find(R"("name":"S49")"), std::string::npos);
  EXPECT_EQ(listed.find(R"("name":"S50")"), std::string::npos);
}

TEST(ScriptV2Document, ChannelIds) {
  const std::vector<std::string> fixed = {"Total Size", "Used Area"};
  // Fixed names by their place, others by their name's hash, whatever
  // their order and neighbours.
  const std::vector<long> ids = output::ChannelIds({"Used Area", "PRD", "QAS"}, fixed);
  EXPECT_EQ(ids[0], 11);
  EXPECT_EQ(output::ChannelIds({"QAS"}, {})[0], ids[2]);
  EXPECT_EQ(output::ChannelIds({"DEV", "QAS", "PRD"}, {})[2], ids[1]);
  for (long id : ids) {
    EXPECT_GE(id, 10);
    EXPECT_LE(id, 2147483647);
  }
  // The same name twice (two rows of one system): the second takes the
  // next id; ids stay unique, the first keeps its own.
  const std::vector<long> twice = output::ChannelIds({"QAS", "QAS"}, {});
  EXPECT_EQ(twice[0], ids[2]);
  EXPECT_EQ(twice[1], ids[2] + 1);
}

}  // namespace
