// What the three classic steps share: return codes at RfcCall and at
// RfcReceive, trace lines, internal tables deleted once on every path that
// returns, structures installed once, and the failure value of each failing
// library operation.
#include "rfc/remote_call.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "include/texts.h"
#include "rfc/connection_probe.h"
#include "rfc/database_filling.h"
#include "rfc/return_code_text.h"
#include "rfc/system_info.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

// A step's result without its answer.
struct Outcome {
  bool answered = false;
  std::optional<rfc::RemoteFailure> remote;
  std::optional<rfc::LibraryFailure> library;
};

template <class Answer>
Outcome OutcomeOf(const rfc::StepResult<Answer>& result) {
  Outcome outcome;
  outcome.answered = std::holds_alternative<Answer>(result);
  if (const auto* failure = std::get_if<rfc::RemoteFailure>(&result)) outcome.remote = *failure;
  if (const auto* failure = std::get_if<rfc::LibraryFailure>(&result)) outcome.library = *failure;
  return outcome;
}

Outcome Probe(const rfc::StepContext& step) { return OutcomeOf(rfc::ProbeServer(step)); }
Outcome SystemInformation(const rfc::StepContext& step) {
  return OutcomeOf(rfc::ReadSystemInfo(step));
}
Outcome Filling(const rfc::StepContext& step) {
  return OutcomeOf(rfc::ReadFilling(step, [](const FillingRow&) {}));
}

struct Step {
  const char* name;
  Outcome (*run)(const rfc::StepContext&);
  std::string function;
  std::vector<std::string> tables;
  std::vector<std::string> structures;
};

const std::vector<Step> kSteps = {
    {"probe", Probe, "GET_CPU_ALL", {"TF_CPU_ALL"}, {"CPU_ALL"}},
    {"system information", SystemInformation, "RFC_SYSTEM_INFO", {}, {"RFCSI"}},
    {"filling", Filling, "ADA_DB_FILLING", {"DEVSP_HIST", "DEVSTAT"}, {"ADA_DBHIST", "ADA_DEVSTA"}},
};

// Every table the step created was deleted exactly once.
void ExpectTablesDeletedOnce(const fake::FakeRfcLibrary& rfc, const Step& step,
                             const std::string& what) {
  for (const std::string& table : step.tables) {
    EXPECT_EQ(rfc.Count("ItDelete " + table), rfc.Created(table)) << what << ": " << table;
  }
}

TEST(RemoteSteps, FailedCallsGiveTheirCodeExceptionAndFailureText) {
  struct Case {
    bool at_call;
    int code;
    std::optional<std::string> exception;
    std::string kept;  // the exception name the failure keeps
    std::string text;
  };
  const std::vector<Case> cases = {
      {true, 1, std::nullopt, "", "Error 1014: RFC-Failure raised !"},
      {true, 2, std::nullopt, "", "Error 1012: Exception.: "},
      {true, 3, std::nullopt, "", "Error 1013: Sys-Exception raised !"},
      {true, 7, std::nullopt, "", "Error 1015: Other Failure raised !"},
      {false, 1, "IGNORED", "", "Error 1014: RFC-Failure raised !"},
      {false, 2, "NO_DATA_FOUND", "NO_DATA_FOUND", "Error 1012: Exception.: NO_DATA_FOUND"},
      {false, 2, std::nullopt, "", "Error 1012: Exception.: "},
      {false, 3, "SYSTEM_FAILURE", "SYSTEM_FAILURE", "Error 1013: Sys-Exception raised !"},
      {false, 3, std::nullopt, "", "Error 1013: Sys-Exception raised !"},
      {false, 7, "X", "", "Error 1015: Other Failure raised !"},
      {false, -4, std::nullopt, "", "Error 1015: Other Failure raised !"},
  };
  // No trace file: the failure text asks the operator to look for it.
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const Step& step : kSteps) {
    for (const Case& c : cases) {
      const std::string what = std::string(step.name) + (c.at_call ? " call " : " receive ") +
                               std::to_string(c.code) + " " + c.exception.value_or("(null)");
      StepRun t;
      (c.at_call ? t.rfc.call_result : t.rfc.receive_result)[step.function] = c.code;
      t.rfc.exception[step.function] = c.exception;
      t.rfc.rows["DEVSTAT"] = {std::string(144, '\0')};
      t.rfc.rows["TF_CPU_ALL"] = {std::string(48, '\0')};

      const Outcome outcome = step.run(t.Step());
      ASSERT_TRUE(outcome.remote) << what;
      EXPECT_EQ(*outcome.remote, (rfc::RemoteFailure{c.code, c.kept, "", true})) << what;
      EXPECT_EQ(FailureText(*outcome.remote), c.text + std::string(texts::kLookForTraceFile))
          << what;
      EXPECT_EQ(t.rfc.Count("RfcCall " + step.function), 1) << what;
      EXPECT_EQ(t.rfc.Count("RfcReceive"), c.at_call ? 0 : 1) << what;
      EXPECT_TRUE(t.rfc.LogOf("ItGetLine").empty()) << what;
      EXPECT_EQ(t.trace_lines,
                c.at_call ? "7 RfcCall called \n" : "7 RfcCall called \n7 RfcReceive called \n")
          << what;
      ExpectTablesDeletedOnce(t.rfc, step, what);
    }
  }
}

TEST(RemoteSteps, SuccessAnswersAndTracesBothOperations) {
  for (const Step& step : kSteps) {
    StepRun t;
    t.handle = 9;
    const Outcome outcome = step.run(t.Step());
    EXPECT_TRUE(outcome.answered) << step.name;
    EXPECT_EQ(t.trace_lines, "9 RfcCall called \n9 RfcReceive called \n") << step.name;
    ASSERT_EQ(t.rfc.calls.size(), 1u) << step.name;
    EXPECT_EQ(t.rfc.calls[0].handle, 9u) << step.name;
    EXPECT_EQ(t.rfc.calls[0].receive_table_list, t.rfc.calls[0].table_list) << step.name;
    ExpectTablesDeletedOnce(t.rfc, step, step.name);
  }
}

TEST(RemoteSteps, WithoutTraceNoLines) {
  for (const Step& step : kSteps) {
    fake::FakeRfcLibrary library;
    const rfc::TraceWriter none;
    rfc::StructureTypes types;
    EXPECT_TRUE(step.run(rfc::StepContext{library, 7, none, types}).answered) << step.name;
  }
}

TEST(RemoteSteps, StructuresInstalledOncePerProcess) {
  for (const Step& step : kSteps) {
    StepRun t;
    step.run(t.Step());
    step.run(t.Step());
    EXPECT_EQ(t.rfc.LogOf("RfcInstallStructure").size(), step.structures.size()) << step.name;
    for (const std::string& structure : step.structures) {
      EXPECT_EQ(t.rfc.Count("RfcInstallStructure " + structure), 1) << step.name;
    }
    EXPECT_EQ(t.rfc.calls.size(), 2u) << step.name;
  }
}

TEST(RemoteSteps, FailingLibraryOperationsGiveTheirOperationAndTheLastError) {
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
    StepRun t;
    std::memcpy(t.rfc.last_error.key, "KEY-9", 6);
    t.rfc.rows["TF_CPU_ALL"] = {std::string(48, '\0'), std::string(48, '\0')};
    t.rfc.rows["DEVSTAT"] = {std::string(144, '\0'), std::string(144, '\0')};
    c.fail(t.rfc);

    const Outcome outcome = c.step.run(t.Step());
    ASSERT_TRUE(outcome.library) << what;
    EXPECT_EQ(outcome.library->operation, c.operation) << what;
    EXPECT_EQ(outcome.library->key, "KEY-9") << what;
    // The failing operation is the last one asked of the library, no table
    // deleted after it: then the last error is read and the (null)
    // connection closed.
    ASSERT_GE(t.rfc.log.size(), 3u) << what;
    const std::size_t n = t.rfc.log.size();
    EXPECT_TRUE(t.rfc.log[n - 3].starts_with(c.operation)) << what << ": " << t.rfc.log[n - 3];
    EXPECT_EQ(t.rfc.log[n - 2], "RfcLastError") << what;
    EXPECT_EQ(t.rfc.log[n - 1], "RfcClose 0") << what;
  }
}

}  // namespace
