// The driver's side of the remote steps: the run's trace, the logon from
// the profile and the options, the checked steps and how a failed step
// ends the run, and the RFC error report.
#include "driver/remote_steps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/run_options.h"
#include "driver/run_end.h"
#include "output/guarded_output.h"
#include "output/stdout_sink.h"
#include "rfc/failure_report.h"
#include "rfc/trace_line.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

class FlushCountingSink : public output::StringSink {
 public:
  void Flush() override { flushed_at.push_back(text().size()); }
  std::vector<std::size_t> flushed_at;  // the text's size at each flush
};

TEST(RunTrace, LinesOnlyWithSyslogEachFlushedToStandardError) {
  struct Case {
    const char* what;
    std::string options;
    int handle;
    std::string detail;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"no options", "", 5, "-", ""},
      {"other options", "#,HOST=X", 5, "-", ""},
      {"found in any case", ",syslog", 5, "-", "5 RfcOpen called -\n"},
      {"without the comma", "SYSLOG", 5, "-", ""},
      {"syslog", ",SYSLOG", 5, "-", "5 RfcOpen called -\n"},
      {"syslog among others", "#,NO=00,SYSLOG,X", 0, "-", "0 RfcOpen called -\n"},
      {"handle written signed", ",SYSLOG", -1, "-", "-1 RfcOpen called -\n"},
      {"empty detail keeps both blanks", ",SYSLOG", 3, "", "3 RfcOpen called \n"},
  };
  for (const Case& c : cases) {
    driver::RunState run;
    run.Options = std::get<config::RunOptions>(config::ParseRunOptions(c.options));
    fake::FakeRfcLibrary rfc;
    rfc::classic::ClassicSapLibrary library(rfc);
    output::StringSink out;
    FlushCountingSink err;
    driver::RunServices services{library, out, err};
    const rfc::TraceWriter trace = driver::RunTrace(run, services);
    rfc::WriteTraceLine(trace, c.handle, rfc::trace_events::kOpenCalled, c.detail);
    rfc::WriteTraceLine(trace, c.handle, rfc::trace_events::kOpenCalled, c.detail);
    EXPECT_EQ(err.text(), c.expected + c.expected) << c.what;
    // Each line flushed at once, so that it survives an abort that follows.
    const std::vector<std::size_t> flushes =
        c.expected.empty() ? std::vector<std::size_t>{}
                           : std::vector<std::size_t>{c.expected.size(), 2 * c.expected.size()};
    EXPECT_EQ(err.flushed_at, flushes) << c.what;
    EXPECT_EQ(out.text(), "") << c.what;
  }
}

std::string Show(const std::optional<std::string>& text) {
  return text ? "'" + *text + "'" : "null";
}

config::ConnectionProfile SampleProfile() {
  config::ConnectionProfile p;
  p.Destination = "PRD";
  p.Client = "100";
  p.User = "MONITOR";
  p.Password = "secret";
  p.Language = "E";
  p.Mode = "R/3";
  p.Hostname = "sapprd";
  p.Sysnr = "00";
  p.Gwhost = "gw1";
  p.Gwservice = "sapgw00";
  return p;
}

TEST(LogOn, ProfileAndTheOptionsOverridesInTheLogonRecords) {
  using Fields = std::map<std::string, std::string>;
  struct Case {
    const char* what;
    std::function<void(config::ConnectionProfile&)> change;
    std::string options;
    Fields expected;  // the fields the case is about
  };
  const std::vector<Case> cases = {
      {"sample profile",
       [](config::ConnectionProfile&) {},
       "",
       {{"dest", "'PRD'"},
        {"mode", "0"},
        {"client", "'100'"},
        {"user", "'MONITOR     '"},
        {"password", "'secret    '"},
        {"lang", "'E'"},
        {"host", "'sapprd'"},
        {"sysnr", "0"},
        {"gwhost", "'gw1'"},
        {"gwserv", "'sapgw00'"}}},
      {"R/2 profile: its gateway",
       [](config::ConnectionProfile& p) { p.Mode = "R/2"; },
       "",
       {{"mode", "1"}, {"gwhost", "'gw1'"}, {"gwserv", "'sapgw00'"}}},
      {"host and number overrides keep their case",
       [](config::ConnectionProfile&) {},
       "#,HOST=abc,NO=07",
       {{"host", "'abc'"}, {"sysnr", "7"}}},
      {"an override ends at a blank",
       [](config::ConnectionProfile&) {},
       ",HOST=Host1 ,NO=42 more",
       {{"host", "'Host1'"}, {"sysnr", "42"}}},
      {"empty overrides: host absent, number 0",
       [](config::ConnectionProfile& p) { p.Sysnr = "33"; },
       ",HOST=,NO=",
       {{"host", "null"}, {"sysnr", "0"}}},
      {"keyword found in any case of the options",
       [](config::ConnectionProfile&) {},
       ",host=lower",
       {{"host", "'lower'"}}},
  };
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const Case& c : cases) {
    TestRun t;
    config::ConnectionProfile profile = SampleProfile();
    c.change(profile);
    t.run.Options = std::get<config::RunOptions>(config::ParseRunOptions(c.options));
    const std::unique_ptr<rfc::SapConnection> connection =
        driver::LogOn(t.run, profile, t.services, {});
    EXPECT_NE(connection, nullptr) << c.what;
    ASSERT_TRUE(t.rfc.open) << c.what;
    const fake::OpenRecord& r = *t.rfc.open;
    const Fields seen = {
        {"dest", Show(r.destination)},    {"mode", std::to_string(r.mode)},
        {"client", Show(r.client)},       {"user", Show(r.user)},
        {"password", Show(r.password)},   {"lang", Show(r.language)},
        {"host", Show(r.host)},           {"sysnr", std::to_string(r.system_number)},
        {"gwhost", Show(r.gateway_host)}, {"gwserv", Show(r.gateway_service)}};
    for (const auto& [field, value] : c.expected) {
      EXPECT_EQ(seen.at(field), value) << c.what << ": " << field;
    }
    EXPECT_EQ(t.rfc.log, std::vector<std::string>{"RfcOpen"}) << c.what;
    EXPECT_EQ(t.out.text(), "") << c.what;
  }
}

TEST(LogOn, DestinationFileLineOnlyInConsoleMode) {
  struct Case {
    std::string options;
    bool ini_writable;
    std::string printed;
    bool connected;
  };
  const std::vector<Case> cases = {
      {"", true, "", true},
      {"#", true, "* SapRfc.Ini.......: PRD<\n", true},
      // Outside console mode standard output carries the result document only.
      {"", false, "", false},
      {"#", false, "* SapRfc.Ini.......: PRD<\n", false},
  };
  for (const Case& c : cases) {
    const std::string what = "'" + c.options + "'" + (c.ini_writable ? "" : ", unwritable");
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    WriteFile("SapRfc.PRD", "DEST=PRD\n");
    if (!c.ini_writable) std::filesystem::create_directory("SapRfc.ini");
    TestRun t;
    t.run.Options = std::get<config::RunOptions>(config::ParseRunOptions(c.options));
    const std::unique_ptr<rfc::SapConnection> connection =
        driver::LogOn(t.run, SampleProfile(), t.services, {});
    EXPECT_EQ(connection != nullptr, c.connected) << what;
    EXPECT_EQ(t.rfc.log,
              c.connected ? std::vector<std::string>{"RfcOpenEx"} : std::vector<std::string>{})
        << what;
    EXPECT_EQ(t.out.text(), c.printed) << what;
  }
}

TEST(LogOn, PasswordGoesNowhereButTheLibrary) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (bool with_destination_file : {false, true}) {
    if (with_destination_file) WriteFile("SapRfc.PRD", "DEST=PRD\n");
    TestRun t;
    config::ConnectionProfile profile = SampleProfile();
    profile.Password = "Pa55word";
    t.run.Options = std::get<config::RunOptions>(config::ParseRunOptions("#,SYSLOG"));
    const std::unique_ptr<rfc::SapConnection> connection =
        driver::LogOn(t.run, profile, t.services, driver::RunTrace(t.run, t.services));
    EXPECT_NE(t.err.text(), "") << with_destination_file;
    EXPECT_EQ(t.out.text().find("Pa55word"), std::string::npos) << with_destination_file;
    EXPECT_EQ(t.err.text().find("Pa55word"), std::string::npos) << with_destination_file;
    EXPECT_EQ(t.run.Document.text().find("Pa55word"), std::string::npos);
  }
}

// An RFCSI answer with the host and database system fields set.
std::string Rfcsi(std::string host8, std::string dbsys10) {
  host8.resize(8, ' ');
  dbsys10.resize(10, ' ');
  std::string rfcsi(200, ' ');
  rfcsi.replace(45, 8, host8);
  rfcsi.replace(101, 10, dbsys10);
  return rfcsi;
}

// How a run ended: the error document's message or the failed operation of
// an RFC abort; both empty when it went on.
struct Ending {
  std::string document;
  std::string abort;

  bool operator==(const Ending&) const = default;
};

Ending EndingOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const driver::ErrorDocumentExit& exit) {
    return {exit.what(), ""};
  } catch (const driver::RfcAbort& abort) {
    EXPECT_EQ(std::string(abort.what()), abort.failure().operation);
    return {"", abort.failure().operation};
  }
  return {};
}

void PrintTo(const Ending& e, std::ostream* os) {
  *os << "{document '" << e.document << "', abort '" << e.abort << "'}";
}

TEST(RunCheckedSteps, ProbeThenSystemInformationThenTheDatabaseCheck) {
  struct Case {
    const char* what;
    std::function<void(fake::FakeRfcLibrary&)> script;
    Ending ending;
    std::vector<std::string> functions;  // called, in order
    std::string host_display;
  };
  using Rfc = fake::FakeRfcLibrary;
  const std::vector<Case> cases = {
      {"MaxDB goes on, the host shown as the system reports it",
       [](Rfc& r) { r.importing_answer["RFCSI_EXPORT"] = Rfcsi("sapprd01", "ADABAS D"); },
       {},
       {"GET_CPU_ALL", "RFC_SYSTEM_INFO"},
       "sapprd01"},
      {"another database ends with 1018",
       [](Rfc& r) { r.importing_answer["RFCSI_EXPORT"] = Rfcsi("orahost", "ORACLE"); },
       {"Error 1018: DataBase mismatch !", ""},
       {"GET_CPU_ALL", "RFC_SYSTEM_INFO"},
       "orahost "},
      {"a failed probe ends with its text before the system information",
       [](Rfc& r) { r.call_result["GET_CPU_ALL"] = 1; },
       {"Error 1014: RFC-Failure raised ! - Look for Trace-File", ""},
       {"GET_CPU_ALL"},
       "earlier"},
      {"a failed system information keeps the earlier host",
       [](Rfc& r) {
         r.receive_result["RFC_SYSTEM_INFO"] = 2;
         r.exception["RFC_SYSTEM_INFO"] = "NOT_AUTHORIZED";
         r.importing_answer["RFCSI_EXPORT"] = Rfcsi("x", "ADABAS D");
       },
       {"Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File", ""},
       {"GET_CPU_ALL", "RFC_SYSTEM_INFO"},
       "earlier"},
      {"a failure of the library's own aborts",
       [](Rfc& r) { r.failing_structures.insert("RFCSI"); },
       {"", "RfcInstallStructure"},
       {"GET_CPU_ALL"},
       "earlier"},
  };
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const Case& c : cases) {
    TestRun t;
    c.script(t.rfc);
    config::ConnectionProfile profile = SampleProfile();
    profile.HostnameDisplay = "earlier";
    std::unique_ptr<rfc::SapConnection> connection = driver::LogOn(t.run, profile, t.services, {});
    ASSERT_NE(connection, nullptr) << c.what;
    EXPECT_EQ(EndingOf([&] { driver::RunCheckedSteps(t.services, *connection, profile); }),
              c.ending)
        << c.what;
    std::vector<std::string> functions;
    for (const fake::RemoteCall& call : t.rfc.calls) functions.push_back(call.function);
    EXPECT_EQ(functions, c.functions) << c.what;
    EXPECT_EQ(profile.HostnameDisplay, c.host_display) << c.what;
  }
}

// A password the classic library cannot be handed whole ends the run
// before it is asked, with Error 1034 naming where the password came from:
// the profile's (by its destination) or the monitor's variable.
TEST(LogOn, PasswordTheClassicLibraryCannotTakeWhole) {
  const std::string blank =
      " holds a blank or tab, which librfc32 would split in the connection text of a logon "
      "through SapRfc.ini - log on without the destination file, through sapnwrfc.dll, or with a "
      "password without blanks";
  const std::string code_page =
      " holds a character outside the Windows ANSI code page, which librfc32 cannot take - log on "
      "through sapnwrfc.dll or with another password";
  struct Case {
    const char* what;
    bool destination_file;
    std::string profile_password;
    std::optional<platform::SystemText> monitor_password;
    std::string ending;  // empty: the library is asked
  };
  const std::vector<Case> cases = {
      {"profile's by address", false, "two words", std::nullopt, ""},
      {"profile's through the destination file", true, "two words", std::nullopt,
       "Error 1034: Password for PRD" + blank},
      {"monitor's through the destination file", true, "secret", platform::SystemText("a b=c"),
       "Error 1034: prtg_linuxpassword" + blank},
      {"monitor's equals signs through the destination file", true, "secret",
       platform::SystemText("a=b=c"), ""},
      {"monitor's outside the code page", false, "secret", platform::SystemText(u"a\u0141b"),
       "Error 1034: prtg_linuxpassword" + code_page},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    if (c.destination_file) WriteFile("SapRfc.PRD", "DEST=PRD\n");
    TestRun t;
    if (c.monitor_password) {
      t.run.MonitorLogon =
          config::MonitorLogon{"MONITOR", *c.monitor_password, "prtg_linuxpassword"};
    }
    config::ConnectionProfile profile = SampleProfile();
    profile.Password = c.profile_password;
    const Ending ending = EndingOf([&] { driver::LogOn(t.run, profile, t.services, {}); });
    EXPECT_EQ(ending.document, c.ending) << c.what;
    EXPECT_EQ(t.rfc.log.empty(), !c.ending.empty()) << c.what;
  }
}

TEST(AnswerOrEnd, TheAnswerOrTheEndOfTheRun) {
  const rfc::LibraryFailure library_failure{"ItGetLine DEVSTAT", "K", "S", "M", "I"};
  struct Case {
    const char* what;
    rfc::StepResult<rfc::FillingRead> result;
    Ending ending;
  };
  const std::vector<Case> cases = {
      {"answer", rfc::FillingRead{3}, {}},
      {"remote failure",
       rfc::RemoteFailure{3, "X", "partner gone", false},
       {"Error 1013: Sys-Exception raised ! - partner gone", ""}},
      {"remote failure without a trace file",
       rfc::RemoteFailure{2, "NO_DATA", "", true},
       {"Error 1012: Exception.: NO_DATA - Look for Trace-File", ""}},
      {"library failure", library_failure, {"", "ItGetLine DEVSTAT"}},
  };
  for (const Case& c : cases) {
    std::optional<rfc::FillingRead> answer;
    EXPECT_EQ(EndingOf([&] { answer = driver::AnswerOrEnd(c.result); }), c.ending) << c.what;
    if (c.ending == Ending{}) {
      EXPECT_EQ(answer, rfc::FillingRead{3}) << c.what;
    }
  }
  try {
    driver::AnswerOrEnd(rfc::StepResult<rfc::FillingRead>{library_failure});
    ADD_FAILURE() << "no RfcAbort";
  } catch (const driver::RfcAbort& abort) {
    EXPECT_EQ(abort.failure(), library_failure);
  }
}

// The report ends the output: a deadline that comes before the process
// has ended adds nothing and ends it with the report's exit code.
TEST(PrintRfcError, ReportEndsStandardOutputAbortLineOnStandardError) {
  TestRun t;
  output::GuardedOutput guarded(t.out);
  driver::RunServices services{t.library, guarded, t.err, &guarded};
  const rfc::LibraryFailure failure{"RfcInstallStructure", "K", "S", "M", "I"};
  output::ResultDocument document("EXEXML", std::nullopt);
  EXPECT_EQ(driver::PrintRfcError(services, document, failure), 1);
  std::optional<int> ended_with;
  guarded.Close([](bool) { return std::pair<std::string, int>("Error 1032", 2); },
                [&](int code) { ended_with = code; });
  EXPECT_EQ(t.out.text(), rfc::RfcErrorReport(failure));
  EXPECT_EQ(ended_with, 1);
  EXPECT_EQ(t.err.text(), "* Pgrm aborted...\n");
}

// The library's handler reports through the run's services and ends the
// process with exit code 1. Both streams go to standard error here, where
// the death test can see them.
void RunHandler(char* operation, const char* flavour = "EXEXML") {
  static fake::FakeRfcLibrary rfc;
  static rfc::classic::ClassicSapLibrary library(rfc);
  static output::StreamSink report(stderr);
  static driver::RunServices services{library, report, report};
  static output::ResultDocument document(flavour, std::nullopt);
  document = output::ResultDocument(flavour, std::nullopt);
  std::memcpy(rfc.last_error.key, "KEY-17", 7);
  driver::PrepareErrorReport(services, document);
  rfc.error_handler(operation);
}

TEST(PrepareErrorReportDeathTest, TheHandlerPrintsTheReportAndExitsWithOne) {
  // One line per pattern: on Windows the C runtime writes CR LF.
  char operation[] = "RfcOpen";
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "operation/code  : RfcOpen");
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "key             : KEY-17");
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "\\* Pgrm aborted\\.\\.\\.");
  EXPECT_EXIT(RunHandler(nullptr), testing::ExitedWithCode(1), "RFC error");
  // The formats that answer once: their one answer, and their exit code
  // for the sensor's own trouble, not the library's 1.
  EXPECT_EXIT(RunHandler(operation, "Nagios"), testing::ExitedWithCode(3),
              "MAXDB UNKNOWN - RFC error - operation/code: RfcOpen, key: KEY-17");
  EXPECT_EXIT(RunHandler(operation, "ScriptV2"), testing::ExitedWithCode(0),
              R"(\{"version":2,"status":"error","message":"RFC error - operation/code: RfcOpen)");
}

}  // namespace
