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
void BW_RFC_CALL ReportingHandler(char* operation) {
  RfcErrorInfo info{};
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
  RfcEnvironmentRecord environment{ReportingHandler, nullptr};
  RfcEnvironment(&environment);

  ServerAddress server{"sapprd01", 0, nullptr, nullptr};
  OpenOptions options{"PRD", 0, &server, "100", "MONITOR     ", "secret    ", "E", 0};
  const RfcHandle handle = RfcOpen(&options);
  ASSERT_NE(handle, 0u);
  RfcTypeHandle type = 0;
  ASSERT_EQ(RfcInstallStructure("CPU_ALL", nullptr, 0, &type), 0);
  EXPECT_NE(type, 0u);
  ItabHandle table = ItCreate("TF_CPU_ALL", 48, 0, 0);
  ASSERT_NE(table, nullptr);
  RfcTable tables[] = {{"TF_CPU_ALL", 10, type, 0, table, 0, 0}, {nullptr, 0, 0, 0, nullptr, 0, 0}};
  RfcParameter none[] = {{nullptr, 0, 0, 0, nullptr}};
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
  RfcEnvironmentRecord environment{ReportingHandler, nullptr};
  RfcEnvironment(&environment);
  EXPECT_EQ(ItCreate("TF_CPU_ALL", 48, 0, 0), nullptr);
  EXPECT_EQ(reports, (std::vector<std::string>{"ItCreate TF_CPU_ALL: out of memory"}));
  EXPECT_EQ(Ops(), (std::vector<std::string>{"RfcEnvironment", "ItCreate", "error_handler",
                                             "RfcLastError", "RfcClose"}));
}

}  // namespace
}  // namespace rfcsim::testing
