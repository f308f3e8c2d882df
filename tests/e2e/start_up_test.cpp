// Start-up as a monitor sees it: the command line alone decides these runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/expectations.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

using ::testing::IsEmpty;

std::string Repeat(std::string_view piece, std::size_t length) {
  std::string text;
  while (text.size() < length) text.append(piece);
  text.resize(length);
  return text;
}

TEST(StartUp, WithoutArgumentsPrintsError1001) {
  Outcome outcome = RunSensor({});

  EXPECT_EQ(outcome.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing "
            "!</Text>\n</Prtg>\n");
  EXPECT_TRUE(IsWellFormedXml(outcome.out));
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.err, "");
  EXPECT_THAT(outcome.changed_files, IsEmpty());
}

// The profile file's name shows in the error for a missing profile, which
// makes the normalised name visible from outside.
TEST(StartUp, ProfileNameIsNormalised) {
  struct Case {
    std::vector<std::string> arguments;
    const char* file_name;
  };
  const Case cases[] = {
      {{"PRD"}, "PRD.P00"},
      {{"prd"}, "prd.P00"},
      {{"prd.p01"}, "prd.p01"},
      {{"AB"}, "AB.P00"},
      {{"A.B"}, "A.B.P00"},
      // Options, console mode included, change nothing before the profile
      // is found.
      {{"PRD", "some options", "and more"}, "PRD.P00"},
      {{"PRD", "%"}, "PRD.P00"},
      {{"PRD", "$"}, "PRD.P00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    Outcome outcome = RunSensor({.arguments = c.arguments});
    ExpectErrorDocument(outcome,
                        "Error 1002: Profile " + std::string(c.file_name) + " is missing...");
  }
}

// Monitors keep within the command line's limits; when one does not, the
// sensor must still end orderly with a well-formed document.
TEST(StartUp, OverlongArgumentsEndWithAnErrorDocument) {
  const std::vector<std::string> cases[] = {
      {Repeat("P", 10'000)},
      // Characters that must be escaped, so that no cut may split an entity.
      {Repeat("R&D<", 10'000)},
      {"PRD", Repeat("o", 10'000)},
      {"PRD", "o", Repeat("o", 10'000)},
  };
  for (const std::vector<std::string>& arguments : cases) {
    SCOPED_TRACE(arguments.back().substr(0, 8) + "... in argument " +
                 std::to_string(arguments.size()));
    Outcome outcome = RunSensor({.arguments = arguments});
    EXPECT_EQ(outcome.exit_code, 2);
    EXPECT_TRUE(IsPrtgErrorDocument(outcome.out)) << outcome.out;
    EXPECT_TRUE(IsWellFormedXml(outcome.out));
    EXPECT_EQ(outcome.err, "");
    EXPECT_THAT(outcome.changed_files, IsEmpty());
  }
}

}  // namespace
}  // namespace e2e
