// Trace lines and the trace-file scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/texts.h"
#include "platform/line_reader.h"
#include "rfc/trace_file_scan.h"
#include "rfc/trace_line.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

TEST(WriteTraceLine, WrittenOnlyWithSyslogToStandardError) {
  struct Case {
    const char* what;
    std::string options;
    RfcHandle handle;
    std::string detail;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"no options", "", 5, "-", ""},
      {"other options", "#,HOST=X", 5, "-", ""},
      {"lower case is not searched", ",syslog", 5, "-", ""},
      {"without the comma", "SYSLOG", 5, "-", ""},
      {"syslog", ",SYSLOG", 5, "-", "5 RfcOpen called -\n"},
      {"syslog among others", "#,NO=00,SYSLOG,X", 0, "-", "0 RfcOpen called -\n"},
      {"handle written signed", ",SYSLOG", 0xFFFFFFFFu, "-", "-1 RfcOpen called -\n"},
      {"empty detail keeps both blanks", ",SYSLOG", 3, "", "3 RfcOpen called \n"},
  };
  for (const Case& c : cases) {
    TestRun t;
    t.run.RunOptions = c.options;
    WriteTraceLine(t.run, t.services, c.handle, trace_events::kOpenCalled, c.detail);
    EXPECT_EQ(t.err.text(), c.expected) << c.what;
    EXPECT_EQ(t.out.text(), "") << c.what;
  }
}

std::string Scan(std::string_view trace) {
  TraceMessageScanner scanner;
  for (const std::string& line : platform::SplitLines(trace, kTracePieceLength)) {
    scanner.Feed(line);
  }
  return TraceDiagnosis(scanner.message());
}

TEST(TraceMessageScanner, LineShapesAndTheirOrder) {
  const std::string please = std::string(texts::kPleaseCheckTraceFile);
  const std::string long_error = "ERROR " + std::string(6, ' ') + std::string(87, 'a') +
                                 std::string(51, 'b');  // 150 characters
  struct Case {
    const char* what;
    std::string trace;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"empty trace", "", please},
      {"nothing recognised", "hello\nworld\n", please},
      {"ERROR line: message from the 13th character", "ERROR       partner not reached\n",
       " - partner not reached"},
      {"ERROR line with CR LF", "ERROR       partner not reached\r\n", " - partner not reached"},
      {"ERROR line without line end", "ERROR       last words", " - last words"},
      {"ERROR line too short for a message", "ERROR  x\n", please},
      {"ERROR must start the line", " ERROR      shifted\n", please},
      {"ERROR needs its blank", "ERRORS      plural\n", please},
      {"arrow at characters 8 to 15", "1234567======> logon refused\n", " - logon refused"},
      {"arrow one place off", "123456======> logon refused\n", please},
      {"arrow line without a message", "1234567======> \n", please},
      {"record end empties the message", "ERROR       first\n**** ERROR file closed\n", please},
      {"arrow then record end and nothing else", "1234567======> gone\n**** ERROR end\n", please},
      {"the last message wins", "ERROR       first\n1234567======> second\n", " - second"},
      {"a message after the record end counts", "**** ERROR x\nERROR       again\n", " - again"},
      {"record end needs all eleven characters", "ERROR       kept\n**** ERROR\n", " - kept"},
      {"an ERROR line with the arrow keeps the arrow's text", "ERROR x======> arrow text\n",
       " - arrow text"},
      {"99-character pieces: the rest of a long ERROR line is a line of its own", long_error + "\n",
       " - " + std::string(87, 'a')},
      {"the rest of a long line can carry the message",
       std::string(99, 'x') + "ERROR       from the rest\n", " - from the rest"},
      {"a CR at the end of a piece is not kept", "ERROR       text\r", " - text"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scan(c.trace), c.expected) << c.what;
  }
}

TEST(ScanTraceFile, ReadsTheTraceFileOfTheWorkingDirectory) {
  struct Case {
    const char* what;
    std::optional<std::string> file;  // nullopt: no trace file
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"missing file", std::nullopt, std::string(texts::kLookForTraceFile)},
      {"empty file", "", std::string(texts::kPleaseCheckTraceFile)},
      {"CR LF lines", "header\r\nERROR       RFC_ERROR_COMMUNICATION\r\nfooter\r\n",
       " - RFC_ERROR_COMMUNICATION"},
      {"a 150-character ERROR line is read in two pieces",
       "ERROR       " + std::string(87, 'm') + std::string(51, 'r') + "\n",
       " - " + std::string(87, 'm')},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    if (c.file) WriteFile(file_names::kTraceFile, *c.file);
    TestRun t;
    t.run.Document.Append("Error 1014: RFC-Failure raised !");
    ScanTraceFile(t.run);
    EXPECT_EQ(t.run.Document.text(), "Error 1014: RFC-Failure raised !" + c.expected) << c.what;
  }
}

TEST(ScanTraceFile, AppendsTheMessageUnescaped) {
  // The error document escapes the whole failure text once; escaping here
  // too would show "&amp;lt;" to the operator.
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile(file_names::kTraceFile, "ERROR       <host> & more\n");
  TestRun t;
  ScanTraceFile(t.run);
  EXPECT_EQ(t.run.Document.text(), " - <host> & more");
}

}  // namespace
