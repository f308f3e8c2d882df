#include "tests/e2e/expectations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/document_checks.h"

namespace e2e {

using ::testing::AnyOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

void ExpectErrorDocument(const Outcome& outcome, std::string_view escaped_message) {
  EXPECT_EQ(outcome.out, PrtgErrorDocument(escaped_message));
  EXPECT_TRUE(IsWellFormedXml(outcome.out));
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "");
  EXPECT_THAT(outcome.changed_files, IsEmpty());
}

void ExpectProfileLocated(const Outcome& outcome) {
  EXPECT_THAT(outcome.out, Not(HasSubstr("Error 1002")));
  EXPECT_THAT(outcome.out, Not(HasSubstr("Path-Usage")));
  EXPECT_THAT(outcome.exit_code, AnyOf(0, 1, 2));
  // Exit code 1 ends the run wherever the RFC library failed, possibly
  // inside a document; 0 and 2 always end one.
  std::size_t document = outcome.out.find("<Prtg>");
  if (outcome.exit_code != 1 && document != std::string::npos) {
    EXPECT_TRUE(IsWellFormedXml(std::string_view(outcome.out).substr(document)));
  }
}

}  // namespace e2e
