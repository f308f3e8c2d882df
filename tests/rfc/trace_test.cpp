// The trace-file scan and the failure text it completes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/texts.h"
#include "platform/line_reader.h"
#include "rfc/remote_call.h"
#include "rfc/return_code_text.h"
#include "rfc/trace_file_scan.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

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
    std::optional<std::string> file;     // nullopt: no trace file
    std::optional<std::string> message;  // nullopt: nothing read
    std::string text;                    // what the failure text of code 1 becomes
  };
  const std::vector<Case> cases = {
      {"missing file", std::nullopt, std::nullopt, std::string(texts::kLookForTraceFile)},
      {"empty file", "", "", std::string(texts::kPleaseCheckTraceFile)},
      {"CR LF lines", "header\r\nERROR       RFC_ERROR_COMMUNICATION\r\nfooter\r\n",
       "RFC_ERROR_COMMUNICATION", " - RFC_ERROR_COMMUNICATION"},
      {"a 150-character ERROR line is read in two pieces",
       "ERROR       " + std::string(87, 'm') + std::string(51, 'r') + "\n", std::string(87, 'm'),
       " - " + std::string(87, 'm')},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    if (c.file) WriteFile(file_names::kTraceFile, *c.file);
    EXPECT_EQ(ScanTraceFile(), c.message) << c.what;
    // A failed call takes its message from the trace file at once.
    const rfc::RemoteFailure failure = rfc::FailureOf({kRfcFailure, ""});
    EXPECT_EQ(failure.message, c.message.value_or("")) << c.what;
    EXPECT_EQ(failure.trace_file_missing, !c.file) << c.what;
    EXPECT_EQ(FailureText(failure), "Error 1014: RFC-Failure raised !" + c.text) << c.what;
  }
}

TEST(FailureText, ReturnCodeTextThenTheTraceDiagnosis) {
  struct Case {
    rfc::RemoteFailure failure;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{1, "", "partner not reached", false},
       "Error 1014: RFC-Failure raised ! - partner not reached"},
      {{2, "NO_DATA", "", false}, "Error 1012: Exception.: NO_DATA - Please Check Trace-File !"},
      {{3, "SYSTEM_FAILURE", "", true}, "Error 1013: Sys-Exception raised ! - Look for Trace-File"},
      {{-4, "", "x", false}, "Error 1015: Other Failure raised ! - x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureText(c.failure), c.text);
  }
}

TEST(FailureText, TheMessageStaysUnescaped) {
  // The error document escapes the whole failure text once; escaping here
  // too would show "&amp;lt;" to the operator.
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile(file_names::kTraceFile, "ERROR       <host> & more\n");
  EXPECT_EQ(FailureText(rfc::FailureOf({kRfcFailure, ""})),
            "Error 1014: RFC-Failure raised ! - <host> & more");
}

}  // namespace
