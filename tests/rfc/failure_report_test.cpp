// The RFC error report and the library's last error it shows.
#include "rfc/failure_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rfc/remote_call.h"
#include "tests/rfc/fake_rfc_library.h"

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
  const rfc::LibraryFailure failure{"ItCreate TF_CPU_ALL", "RFC_ERROR_SYSTEM_FAILURE", "CONNECTION",
                                    "partner not reached", "1234"};
  EXPECT_EQ(rfc::RfcErrorReport(failure),
            "RFC error\n"
            "operation/code  : ItCreate TF_CPU_ALL\n"
            "key             : RFC_ERROR_SYSTEM_FAILURE\n"
            "status          : CONNECTION\n"
            "message         : partner not reached\n"
            "internal status : 1234\n"
            "\n"
            "* Programm aborted...\n"
            "* Error at EoXput-File...\n");
}

TEST(ReadLibraryFailure, ReadsTheLastErrorIntoAZeroedRecordThenClosesTheNullHandle) {
  fake::FakeRfcLibrary rfc;
  SetLastError(rfc, "RFC_ERROR_SYSTEM_FAILURE", "CONNECTION", "partner not reached", "1234");
  EXPECT_EQ(rfc::ReadLibraryFailure(rfc, "ItCreate TF_CPU_ALL"),
            (rfc::LibraryFailure{"ItCreate TF_CPU_ALL", "RFC_ERROR_SYSTEM_FAILURE", "CONNECTION",
                                 "partner not reached", "1234"}));
  EXPECT_TRUE(rfc.last_error_record_was_zeroed);
  EXPECT_EQ(rfc.log, (std::vector<std::string>{"RfcLastError", "RfcClose 0"}));
}

TEST(ReadLibraryFailure, FieldsFilledToTheirLastByteAreReadWithinTheirBounds) {
  fake::FakeRfcLibrary rfc;
  // No NUL anywhere: each text is its whole field and no more.
  std::memset(rfc.last_error.key, 'k', sizeof rfc.last_error.key);
  std::memset(rfc.last_error.status, 's', sizeof rfc.last_error.status);
  std::memset(rfc.last_error.message, 'm', sizeof rfc.last_error.message);
  std::memset(rfc.last_error.internal_status, 'i', sizeof rfc.last_error.internal_status);
  const rfc::LibraryFailure failure = rfc::ReadLibraryFailure(rfc, "");
  EXPECT_EQ(failure.key, std::string(33, 'k'));
  EXPECT_EQ(failure.status, std::string(128, 's'));
  EXPECT_EQ(failure.message, std::string(256, 'm'));
  EXPECT_EQ(failure.internal_status, std::string(128, 'i'));
  const std::string report = rfc::RfcErrorReport(failure);
  EXPECT_NE(report.find("key             : " + std::string(33, 'k') + "\n"), std::string::npos);
  EXPECT_NE(report.find("status          : " + std::string(128, 's') + "\n"), std::string::npos);
  EXPECT_NE(report.find("message         : " + std::string(256, 'm') + "\n"), std::string::npos);
  EXPECT_NE(report.find("internal status : " + std::string(128, 'i') + "\n"), std::string::npos);
}

}  // namespace
