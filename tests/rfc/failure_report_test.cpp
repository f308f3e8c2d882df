// The RFC error report and the library's error handler.
#include "rfc/failure_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "output/stdout_sink.h"
#include "tests/rfc/test_run.h"

namespace {

void SetText(char* field, std::size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size));
}

void SetLastError(fake::FakeRfcLibrary& rfc, const std::string& key, const std::string& status,
                  const std::string& message, const std::string& internal_status) {
  SetText(rfc.last_error.key, sizeof rfc.last_error.key, key);
  SetText(rfc.last_error.status, sizeof rfc.last_error.status, status);
  SetText(rfc.last_error.message, sizeof rfc.last_error.message, message);
  SetText(rfc.last_error.internal_status, sizeof rfc.last_error.internal_status, internal_status);
}

TEST(RfcErrorReport, ConsoleBlock) {
  TestRun t;
  SetLastError(t.rfc, "RFC_ERROR_SYSTEM_FAILURE", "CONNECTION", "partner not reached", "1234");
  EXPECT_EQ(RfcErrorReport(t.rfc, "ItCreate TF_CPU_ALL"),
            "RFC error\n"
            "operation/code  : ItCreate TF_CPU_ALL\n"
            "key             : RFC_ERROR_SYSTEM_FAILURE\n"
            "status          : CONNECTION\n"
            "message         : partner not reached\n"
            "internal status : 1234\n"
            "\n"
            "* Programm aborted...\n"
            "* Error at EoXput-File...\n");
  EXPECT_TRUE(t.rfc.last_error_record_was_zeroed);
  EXPECT_EQ(t.rfc.log, (std::vector<std::string>{"RfcLastError", "RfcClose 0"}));
}

TEST(RfcErrorReport, FieldsFilledToTheirLastByteAreReadWithinTheirBounds) {
  TestRun t;
  // No NUL anywhere: each text is its whole field and no more.
  std::memset(&t.rfc.last_error, 'k', sizeof t.rfc.last_error.key);
  std::memset(t.rfc.last_error.status, 's', sizeof t.rfc.last_error.status);
  std::memset(t.rfc.last_error.message, 'm', sizeof t.rfc.last_error.message);
  std::memset(t.rfc.last_error.internal_status, 'i', sizeof t.rfc.last_error.internal_status);
  const std::string report = RfcErrorReport(t.rfc, "");
  EXPECT_NE(report.find("key             : " + std::string(33, 'k') + "\n"), std::string::npos);
  EXPECT_NE(report.find("status          : " + std::string(128, 's') + "\n"), std::string::npos);
  EXPECT_NE(report.find("message         : " + std::string(256, 'm') + "\n"), std::string::npos);
  EXPECT_NE(report.find("internal status : " + std::string(128, 'i') + "\n"), std::string::npos);
}

TEST(PrintRfcError, ReportOnStandardOutputAbortLineOnStandardError) {
  TestRun t;
  SetLastError(t.rfc, "K", "S", "M", "I");
  PrintRfcError(t.services, "RfcInstallStructure");
  EXPECT_EQ(t.out.text(), RfcErrorReport(t.rfc, "RfcInstallStructure"));
  EXPECT_EQ(t.err.text(), "* Pgrm aborted...\n");
}

TEST(RegisterErrorReport, HandsTheHandlerToTheLibrary) {
  TestRun t;
  RegisterErrorReport(t.services);
  EXPECT_EQ(t.rfc.log, std::vector<std::string>{"RfcEnvironment"});
  EXPECT_EQ(t.rfc.error_handler, &HandleRfcLibraryError);
}

// The handler reports through the registered services and ends the process
// with exit code 1. Both streams go to standard error here, where the death
// test can see them.
void RunHandler(char* operation) {
  static fake::FakeRfcLibrary rfc;
  static StreamSink report(stderr);
  static RunServices services{rfc, report, report};
  std::memcpy(rfc.last_error.key, "KEY-17", 7);
  RegisterErrorReport(services);
  HandleRfcLibraryError(operation);
}

TEST(HandleRfcLibraryErrorDeathTest, PrintsTheReportAndExitsWithOne) {
  // One line per pattern: on Windows the C runtime writes CR LF.
  char operation[] = "RfcOpen";
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "operation/code  : RfcOpen");
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "key             : KEY-17");
  EXPECT_EXIT(RunHandler(operation), testing::ExitedWithCode(1), "\\* Pgrm aborted\\.\\.\\.");
  EXPECT_EXIT(RunHandler(nullptr), testing::ExitedWithCode(1), "RFC error");
}

}  // namespace
