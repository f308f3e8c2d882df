#include "rfc/database_filling.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tests/measure/devstat_row.h"
#include "tests/rfc/test_run.h"

namespace {

TEST(ReadFilling, DescribesTablesAndCallsTheModule) {
  StepRun t;
  rfc::ReadFilling(t.Step(), [](const FillingRow&) {});

  ASSERT_EQ(t.rfc.structures.size(), 2u);
  EXPECT_EQ(t.rfc.structures[0].name, "ADA_DBHIST");
  const std::vector<fake::Element> history = {
      {"NAME", 0, 70, 0, 0}, {"WDAY", 0, 3, 0, 0},   {"DATUM", 1, 8, 0, 0}, {"ZEIT", 3, 6, 0, 0},
      {"PUSED", 8, 4, 0, 0}, {"PUSEDx", 8, 4, 0, 0}, {"PFREE", 8, 4, 0, 0}, {"PFREEx", 8, 4, 0, 0},
  };
  EXPECT_EQ(t.rfc.structures[0].elements, history);
  EXPECT_EQ(t.rfc.structures[1].name, "ADA_DEVSTA");
  const std::vector<fake::Element> status = {
      {"NAME", 0, 70, 0, 0},      {"CONF_SIZE", 6, 11, 0, 0}, {"PAG", 6, 11, 0, 0},
      {"PAGESx", 8, 4, 0, 0},     {"PERM_USED", 6, 11, 0, 0}, {"PERMx_USED", 8, 4, 0, 0},
      {"TEMP_USED", 6, 11, 0, 0}, {"TEMPx_USED", 8, 4, 0, 0}, {"UN_USED", 6, 11, 0, 0},
      {"UNx_USED", 8, 4, 0, 0},
  };
  EXPECT_EQ(t.rfc.structures[1].elements, status);

  const std::vector<std::string> expected_log = {
      "ItCreate DEVSP_HIST 104",
      "ItCreate DEVSTAT 144",
      "RfcInstallStructure ADA_DBHIST",
      "RfcInstallStructure ADA_DEVSTA",
      "RfcCall ADA_DB_FILLING",
      "RfcReceive",
      "ItFill DEVSTAT",
      "ItDelete DEVSP_HIST",
      "ItDelete DEVSTAT",
  };
  EXPECT_EQ(t.rfc.log, expected_log);

  ASSERT_EQ(t.rfc.calls.size(), 1u);
  const fake::RemoteCall& call = t.rfc.calls[0];
  EXPECT_TRUE(call.exporting.empty());
  EXPECT_TRUE(call.importing.empty());
  const std::vector<fake::Table> tables = {
      {"DEVSP_HIST", 10, t.types.db_history, "DEVSP_HIST"},
      {"DEVSTAT", 7, t.types.dev_status, "DEVSTAT"},
  };
  EXPECT_EQ(call.tables, tables);
}

TEST(ReadFilling, EveryRowDecodedToTheHandlerInOrder) {
  DevstatValues second = ExampleDevstat();
  second.conf_size = PackedNumber("8000");
  DevstatValues third = ExampleDevstat();
  third.conf_size = PackedNumber("-1");
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    std::vector<std::string> totals;  // the raw total size of each row handed on
  };
  const std::vector<Case> cases = {
      {"no row", {}, {}},
      {"one row", {DevstatRow(ExampleDevstat())}, {"5000"}},
      {"three rows",
       {DevstatRow(ExampleDevstat()), DevstatRow(second), DevstatRow(third)},
       {"5000", "8000", "4294967295"}},
  };
  for (const Case& c : cases) {
    StepRun t;
    t.rfc.rows["DEVSTAT"] = c.rows;
    std::vector<std::string> totals;
    const rfc::StepResult<rfc::FillingRead> result = rfc::ReadFilling(
        t.Step(), [&totals](const FillingRow& row) { totals.push_back(row.total.raw); });
    const auto rows = static_cast<unsigned>(c.rows.size());
    EXPECT_EQ(result, (rfc::StepResult<rfc::FillingRead>{rfc::FillingRead{rows}})) << c.what;
    EXPECT_EQ(totals, c.totals) << c.what;
    // Every row fetched, the count asked anew before each.
    EXPECT_EQ(t.rfc.LogOf("ItGetLine").size(), c.rows.size()) << c.what;
    EXPECT_EQ(t.rfc.Count("ItFill DEVSTAT"), static_cast<int>(c.rows.size()) + 1) << c.what;
  }
}

TEST(ReadFilling, RowsBeforeAFailingRowStayHandedOn) {
  StepRun t;
  t.rfc.rows["DEVSTAT"] = {DevstatRow(ExampleDevstat()), DevstatRow(ExampleDevstat())};
  t.rfc.failing_row["DEVSTAT"] = 2;
  unsigned handed = 0;
  const rfc::StepResult<rfc::FillingRead> result =
      rfc::ReadFilling(t.Step(), [&handed](const FillingRow&) { ++handed; });
  ASSERT_TRUE(std::holds_alternative<rfc::LibraryFailure>(result));
  EXPECT_EQ(std::get<rfc::LibraryFailure>(result).operation, "ItGetLine DEVSTAT");
  EXPECT_EQ(handed, 1u);
}

TEST(CallFillingModule, HandsBackTheExceptionText) {
  struct Case {
    int code;
    std::optional<std::string> exception;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {0, "IGNORED", ""},
      {1, "IGNORED", ""},
      {2, "DB_NOT_AVAILABLE", "DB_NOT_AVAILABLE"},
      {3, "SYSTEM_FAILURE", "SYSTEM_FAILURE"},
      {2, std::nullopt, ""},
      {2, std::string(300, 'x'), std::string(255, 'x')},
  };
  for (const Case& c : cases) {
    StepRun t;
    t.rfc.receive_result["ADA_DB_FILLING"] = c.code;
    t.rfc.exception["ADA_DB_FILLING"] = c.exception;
    ItabHandle history = t.rfc.ItCreate("DEVSP_HIST", 104);
    ItabHandle status = t.rfc.ItCreate("DEVSTAT", 144);
    const rfc::RemoteCallResult result = rfc::CallFillingModule(t.Step(), history, status);
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.exception, c.expected) << c.code;
  }
}

}  // namespace
