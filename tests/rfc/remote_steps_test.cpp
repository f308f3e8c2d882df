// What the three remote steps share: return codes at RfcCall and at
// RfcReceive, trace lines, internal tables deleted once on every path that
// returns, structures installed once, and the RfcAbort of each failing
// library operation.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "include/run_end.h"
#include "measure/database_filling.h"
#include "rfc/connection_probe.h"
#include "rfc/system_info.h"
#include "tests/rfc/test_run.h"

namespace {

struct Step {
  const char* name;
  int (*run)(RunState&, RunServices&);
  std::string function;
  std::vector<std::string> tables;
  std::vector<std::string> structures;
};

const std::vector<Step> kSteps = {
    {"probe", ProbeServer, "GET_CPU_ALL", {"TF_CPU_ALL"}, {"CPU_ALL"}},
    {"system information", ReadSystemInfo, "RFC_SYSTEM_INFO", {}, {"RFCSI"}},
    {"filling",
     ReadDatabaseFilling,
     "ADA_DB_FILLING",
     {"DEVSP_HIST", "DEVSTAT"},
     {"ADA_DBHIST", "ADA_DEVSTA"}},
};

// Every table the step created was deleted exactly once.
void ExpectTablesDeletedOnce(const fake::FakeRfcLibrary& rfc, const Step& step,
                             const std::string& what) {
  for (const std::string& table : step.tables) {
    EXPECT_EQ(rfc.Count("ItDelete " + table), rfc.Created(table)) << what << ": " << table;
  }
}

TEST(RemoteSteps, FailedCallsLeaveErrAndStartTheFailureText) {
  struct Case {
    bool at_call;
    int code;
    std::optional<std::string> exception;
    std::string text;
  };
  const std::vector<Case> cases = {
      {true, 1, std::nullopt, "Error 1014: RFC-Failure raised !"},
      {true, 2, std::nullopt, "Error 1012: Exception.: "},
      {true, 3, std::nullopt, "Error 1013: Sys-Exception raised !"},
      {true, 7, std::nullopt, "Error 1015: Other Failure raised !"},
      {false, 1, "IGNORED", "Error 1014: RFC-Failure raised !"},
      {false, 2, "NO_DATA_FOUND", "Error 1012: Exception.: NO_DATA_FOUND"},
      {false, 2, std::nullopt, "Error 1012: Exception.: "},
      {false, 3, "SYSTEM_FAILURE", "Error 1013: Sys-Exception raised !"},
      {false, 3, std::nullopt, "Error 1013: Sys-Exception raised !"},
      {false, 7, "X", "Error 1015: Other Failure raised !"},
      {false, -4, std::nullopt, "Error 1015: Other Failure raised !"},
  };
  for (const Step& step : kSteps) {
    for (const Case& c : cases) {
      const std::string what = std::string(step.name) + (c.at_call ? " call " : " receive ") +
                               std::to_string(c.code) + " " + c.exception.value_or("(null)");
      TestRun t;
      t.run.RunOptions = ",SYSLOG";
      (c.at_call ? t.rfc.call_result : t.rfc.receive_result)[step.function] = c.code;
      t.rfc.exception[step.function] = c.exception;
      t.rfc.rows["DEVSTAT"] = {std::string(144, '\0')};
      t.rfc.rows["TF_CPU_ALL"] = {std::string(48, '\0')};

      EXPECT_EQ(step.run(t.run, t.services), c.code) << what;
      EXPECT_EQ(t.run.StepStatus, kStepError) << what;
      EXPECT_EQ(t.run.Document.text(), c.text) << what;
      EXPECT_EQ(t.rfc.Count("RfcCall " + step.function), 1) << what;
      EXPECT_EQ(t.rfc.Count("RfcReceive"), c.at_call ? 0 : 1) << what;
      EXPECT_TRUE(t.rfc.LogOf("ItGetLine").empty()) << what;
      EXPECT_EQ(t.err.text(),
                c.at_call ? "7 RfcCall called \n" : "7 RfcCall called \n7 RfcReceive called \n")
          << what;
      EXPECT_EQ(t.out.text(), "") << what;
      ExpectTablesDeletedOnce(t.rfc, step, what);
    }
  }
}

TEST(RemoteSteps, SuccessSetsOkAndTracesBothOperations) {
  for (const Step& step : kSteps) {
    TestRun t;
    t.run.RunOptions = ",SYSLOG";
    t.run.ConnectionHandle = 9;
    EXPECT_EQ(step.run(t.run, t.services), 0) << step.name;
    EXPECT_EQ(t.run.StepStatus, kStepOk) << step.name;
    EXPECT_EQ(t.err.text(), "9 RfcCall called \n9 RfcReceive called \n") << step.name;
    ASSERT_EQ(t.rfc.calls.size(), 1u) << step.name;
    EXPECT_EQ(t.rfc.calls[0].handle, 9u) << step.name;
    EXPECT_EQ(t.rfc.calls[0].receive_table_list, t.rfc.calls[0].table_list) << step.name;
    ExpectTablesDeletedOnce(t.rfc, step, step.name);
  }
}

TEST(RemoteSteps, StructuresInstalledOncePerProcess) {
  for (const Step& step : kSteps) {
    TestRun t;
    step.run(t.run, t.services);
    t.run.StepStatus = kStepError;
    step.run(t.run, t.services);
    EXPECT_EQ(t.rfc.LogOf("RfcInstallStructure").size(), step.structures.size()) << step.name;
    for (const std::string& structure : step.structures) {
      EXPECT_EQ(t.rfc.Count("RfcInstallStructure " + structure), 1) << step.name;
    }
    EXPECT_EQ(t.rfc.calls.size(), 2u) << step.name;
  }
}

TEST(RemoteSteps, FailingLibraryOperationsAbortWithTheirOperationText) {
  struct Case {
    const Step& step;
    std::function<void(fake::FakeRfcLibrary&)> fail;
    std::string operation;
  };
  const Step& probe = kSteps[0];
  const Step& info = kSteps[1];
  const Step& filling = kSteps[2];
  using Rfc = fake::FakeRfcLibrary;
  const std::vector<Case> cases = {
      {probe, [](Rfc& r) { r.failing_structures.insert("CPU_ALL"); }, "RfcInstallStructure"},
      {probe, [](Rfc& r) { r.failing_creates.insert("TF_CPU_ALL"); }, "ItCreate TF_CPU_ALL"},
      {probe, [](Rfc& r) { r.failing_row["TF_CPU_ALL"] = 2; }, "ItGetLine TF_CPU_ALL"},
      {probe, [](Rfc& r) { r.failing_deletes.insert("TF_CPU_ALL"); }, "ItDelete TF_CPU_ALL"},
      {info, [](Rfc& r) { r.failing_structures.insert("RFCSI"); }, "RfcInstallStructure"},
      {filling, [](Rfc& r) { r.failing_structures.insert("ADA_DBHIST"); }, "RfcInstallStructure"},
      {filling, [](Rfc& r) { r.failing_structures.insert("ADA_DEVSTA"); }, "RfcInstallStructure"},
      {filling, [](Rfc& r) { r.failing_creates.insert("DEVSP_HIST"); }, "ItCreate DEVSP_HIST"},
      {filling, [](Rfc& r) { r.failing_creates.insert("DEVSTAT"); }, "ItCreate DEVSTAT"},
      {filling, [](Rfc& r) { r.failing_row["DEVSTAT"] = 2; }, "ItGetLine DEVSTAT"},
      {filling, [](Rfc& r) { r.failing_deletes.insert("DEVSP_HIST"); }, "ItDelete DEVSP_HIST"},
      {filling, [](Rfc& r) { r.failing_deletes.insert("DEVSTAT"); }, "ItDelete DEVSTAT"},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.step.name) + ": " + c.operation;
    TestRun t;
    t.run.GlobalMode = true;  // rows print nothing: the abort is the subject
    t.rfc.rows["TF_CPU_ALL"] = {std::string(48, '\0'), std::string(48, '\0')};
    t.rfc.rows["DEVSTAT"] = {std::string(144, '\0'), std::string(144, '\0')};
    c.fail(t.rfc);
    try {
      c.step.run(t.run, t.services);
      ADD_FAILURE() << what << ": no RfcAbort";
    } catch (const RfcAbort& abort) {
      EXPECT_EQ(std::string(abort.what()), c.operation) << what;
    }
    // Nothing more is asked of the library, no table deleted after the
    // failure: the report that follows reads the library's last error.
    ASSERT_FALSE(t.rfc.log.empty()) << what;
    EXPECT_TRUE(t.rfc.log.back().starts_with(c.operation)) << what << ": " << t.rfc.log.back();
  }
}

}  // namespace
