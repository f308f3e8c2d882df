// The library's C functions over the process-wide engine, used the way the
// sensor uses them, including its error handler's calls back into the
// library.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rfcsim/process_engine.h"
#include "tests/rfcsim/engine_fixture.h"

namespace rfcsim::testing {
namespace {

std::vector<std::string> reports;

// Like the sensor's report: reads the last error and closes the null
// handle; unlike it, returns instead of ending the process.
void DLL_CALL_BACK_FUNCTION ReportingHandler(char* operation) {
  RFC_ERROR_INFO info{};
  RfcLastError(&info);
  RfcClose(0);
  reports.push_back(std::string(operation) + ": " + info.message);
}

class RfcsimCApi : public EngineTest {
 protected:
  void InstallLandscape(const std::string& landscape_json) {
    LandscapeLoad load = ParseLandscape(landscape_json, "test landscape");
    ASSERT_EQ(load.problem, "");
    InstallProcessEngine(std::make_unique<Engine>(
        std::move(load.landscape), EngineFiles{TracePath(), IniPath(), RecordPath()}));
  }
  // Nothing of this test may reach the next one.
  void TearDown() override { InstallLandscape("{}"); }
};

TEST_F(RfcsimCApi, ProbeThroughTheCFunctions) {
  InstallLandscape(kTwoSystems);
  reports.clear();
  RFC_ENV environment{ReportingHandler, nullptr};
  RfcEnvironment(&environment);

  RFC_CONNOPT_R3ONLY server{"sapprd01", 0, nullptr, nullptr};
  RFC_OPTIONS options{"PRD", RFC_MODE_R3ONLY, &server, "100", "MONITOR     ", "secret    ", "E", 0};
  const RFC_HANDLE handle = RfcOpen(&options);
  ASSERT_NE(handle, 0u);
  RFC_TYPEHANDLE type = 0;
  ASSERT_EQ(RfcInstallStructure("CPU_ALL", nullptr, 0, &type), 0);
  EXPECT_NE(type, 0u);
  ITAB_H table = ItCreate("TF_CPU_ALL", 48, 0, 0);
  ASSERT_NE(table, nullptr);
  RFC_TABLE tables[] = {{"TF_CPU_ALL", 10, type, 48, table, RFC_ITMODE_BYREFERENCE, 0}, {}};
  RFC_PARAMETER none[] = {{}};
  ASSERT_EQ(RfcCall(handle, "GET_CPU_ALL", none, tables), 0);
  char* exception = nullptr;
  ASSERT_EQ(RfcReceive(handle, none, tables, &exception), 0);
  EXPECT_EQ(ItFill(table), 1u);
  EXPECT_NE(ItGetLine(table, 1), nullptr);
  EXPECT_EQ(ItDelete(table), 0);
  RfcClose(handle);
  RfcClose(0);
  EXPECT_TRUE(reports.empty());
}

TEST_F(RfcsimCApi, ErrorHandlerMayCallBackIntoTheLibrary) {
  InstallLandscape(R"({"faults": [{"operation": "ItCreate TF_CPU_ALL", "error_handler": true,
                                   "last_error": {"message": "out of memory"}}]})");
  reports.clear();
  RFC_ENV environment{ReportingHandler, nullptr};
  RfcEnvironment(&environment);
  EXPECT_EQ(ItCreate("TF_CPU_ALL", 48, 0, 0), nullptr);
  EXPECT_EQ(reports, (std::vector<std::string>{"ItCreate TF_CPU_ALL: out of memory"}));
  EXPECT_EQ(Ops(), (std::vector<std::string>{"RfcEnvironment", "ItCreate", "error_handler",
                                             "RfcLastError", "RfcClose"}));
}

}  // namespace
}  // namespace rfcsim::testing
