#include "rfc/system_info.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

// An RFCSI answer with the host and database system fields set.
std::string Rfcsi(std::string host8, std::string dbsys10) {
  host8.resize(8, ' ');
  dbsys10.resize(10, ' ');
  std::string rfcsi(200, '#');
  rfcsi.replace(45, 8, host8);
  rfcsi.replace(101, 10, dbsys10);
  return rfcsi;
}

TEST(ReadSystemInfo, DescribesRfcsiAndCallsWithoutTables) {
  StepRun t;
  rfc::ReadSystemInfo(t.Step());

  ASSERT_EQ(t.rfc.structures.size(), 1u);
  EXPECT_EQ(t.rfc.structures[0].name, "RFCSI");
  const std::vector<std::pair<std::string, unsigned>> fields = {
      {"RFCPROTO", 3},   {"RFCCHARTYP", 4}, {"RFCINTTYP", 3},   {"RFCFLOTYP", 3},  {"RFCDEST", 32},
      {"RFCHOST", 8},    {"RFCSYSID", 8},   {"RFCDATABS", 8},   {"RFCDBHOST", 32}, {"RFCDBSYS", 10},
      {"RFCSAPRL", 4},   {"RFCMACH", 5},    {"RFCOPSYS", 10},   {"RFCTZONE", 6},   {"RFCDAYST", 1},
      {"RFCIPADDR", 15}, {"RFCKERNRL", 4},  {"RFCSI_RESV", 44},
  };
  std::vector<fake::Element> expected;
  for (const auto& [name, length] : fields) expected.push_back({name, 0, length, 0, 0});
  EXPECT_EQ(t.rfc.structures[0].elements, expected);

  ASSERT_EQ(t.rfc.calls.size(), 1u);
  const fake::RemoteCall& call = t.rfc.calls[0];
  EXPECT_EQ(call.function, "RFC_SYSTEM_INFO");
  EXPECT_TRUE(call.exporting.empty());
  EXPECT_TRUE(call.tables.empty());
  EXPECT_NE(t.types.system_info, 0u);
  const std::vector<ParameterShape> importing = {
      {"CURRENT_RESOURCES", 8, 4},
      {"DIALOG_USER_TYPE", 0, 1},
      {"MAXIMAL_RESOURCES", 8, 4},
      {"RECOMMENDED_DELAY", 8, 4},
      {"RFCSI_EXPORT", t.types.system_info, 200},
      {"RFC_LOGIN_COMPLETE", 0, 1},
  };
  EXPECT_EQ(Shapes(call.importing), importing);
}

TEST(ReadSystemInfo, KeepsDatabaseSystemAndHostFromTheAnswer) {
  struct Case {
    const char* what;
    std::string host8;
    std::string dbsys10;
    std::string host;
    std::string dbsys;
  };
  const std::vector<Case> cases = {
      {"whole fields, trailing blanks kept", "sapprd  ", "ADABAS D  ", "sapprd  ", "ADABAS D  "},
      {"full fields", "HOST1234", "ORACLE9876", "HOST1234", "ORACLE9876"},
      {"a NUL ends a field early", std::string("ab\0cdefg", 8), std::string("ADA\0XXXXXX", 10),
       "ab", "ADA"},
      {"empty fields", std::string(8, '\0'), std::string(10, '\0'), "", ""},
  };
  for (const Case& c : cases) {
    StepRun t;
    t.rfc.importing_answer["RFCSI_EXPORT"] = Rfcsi(c.host8, c.dbsys10);
    const rfc::StepResult<rfc::SystemInfo> result = rfc::ReadSystemInfo(t.Step());
    EXPECT_EQ(result, (rfc::StepResult<rfc::SystemInfo>{rfc::SystemInfo{c.dbsys, c.host}}))
        << c.what;
  }
}

TEST(ReadSystemInfo, AFailedCallGivesNoAnswer) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  StepRun t;
  t.rfc.receive_result["RFC_SYSTEM_INFO"] = 1;
  t.rfc.importing_answer["RFCSI_EXPORT"] = Rfcsi("x", "ORACLE");
  const rfc::StepResult<rfc::SystemInfo> result = rfc::ReadSystemInfo(t.Step());
  ASSERT_TRUE(std::holds_alternative<rfc::RemoteFailure>(result));
  EXPECT_EQ(std::get<rfc::RemoteFailure>(result).code, 1);
}

TEST(IsMaxDb, FirstThreeCharactersCaseSensitive) {
  struct Case {
    std::string name;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"ADA", true},  {"ADABAS D", true}, {"ADAxyz    ", true}, {"ada", false},  {"Ada", false},
      {"ORA", false}, {"AD", false},      {"", false},          {" ADA", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsMaxDb(c.name), c.expected) << "'" << c.name << "'";
  }
}

}  // namespace
