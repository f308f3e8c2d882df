#include "rfc/connection_probe.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "tests/rfc/test_run.h"

namespace {

using fake::Element;
using fake::Parameter;

TEST(ProbeServer, DescribesCpuAllAndCallsGetCpuAll) {
  StepRun t;
  rfc::ProbeServer(t.Step());

  ASSERT_EQ(t.rfc.structures.size(), 1u);
  EXPECT_EQ(t.rfc.structures[0].name, "CPU_ALL");
  const std::vector<Element> cpu_all = {
      {"TYPE", 9, 2, 0, 0},       {"SUBTYPE", 9, 2, 0, 0},   {"SERIALNR", 9, 2, 0, 0},
      {"NBR_CPU", 8, 4, 0, 0},    {"LOAD1_AVG", 8, 4, 0, 0}, {"LOAD5_AVG", 8, 4, 0, 0},
      {"LOAD15_AVG", 8, 4, 0, 0}, {"INT_SEC", 8, 4, 0, 0},   {"SYSC_SEC", 8, 4, 0, 0},
      {"CS_SEC", 8, 4, 0, 0},     {"USR_TOTAL", 8, 4, 0, 0}, {"SYS_TOTAL", 8, 4, 0, 0},
      {"IDLE_TOTAL", 8, 4, 0, 0},
  };
  EXPECT_EQ(t.rfc.structures[0].elements, cpu_all);
  EXPECT_EQ(t.rfc.Count("ItCreate TF_CPU_ALL 48"), 1);

  ASSERT_EQ(t.rfc.calls.size(), 1u);
  const fake::RemoteCall& call = t.rfc.calls[0];
  EXPECT_EQ(call.function, "GET_CPU_ALL");
  const std::vector<Parameter> exporting = {
      {"LOCAL_REMOTE", 12, 0, 6, "LOCAL "},
      {"LOGICAL_DESTINATION", 19, 0, 32, std::string(32, ' ')},
  };
  EXPECT_EQ(call.exporting, exporting);
  ASSERT_EQ(call.tables.size(), 1u);
  EXPECT_EQ(call.tables[0], (fake::Table{"TF_CPU_ALL", 10, t.types.cpu_all, "TF_CPU_ALL"}));
  EXPECT_NE(t.types.cpu_all, 0u);

  const std::vector<ParameterShape> importing = {
      {"ACTIVEFLAG", 8, 4},  {"DETAILSCOLL", 8, 4},    {"DETAILSMODE", 8, 4},
      {"DETAILSREQI", 8, 4}, {"F_CPU_ALL_READ", 0, 3}, {"INTERVAL", 8, 4},
      {"LASTCOLLINT", 8, 4}, {"LASTCOLLWRT", 0, 25},   {"NORMCOLLINT", 8, 4},
      {"OP_SYSTEM", 0, 52},
  };
  EXPECT_EQ(Shapes(call.importing), importing);
}

TEST(ProbeServer, FetchesEveryRowOnSuccess) {
  struct Case {
    std::size_t rows;
    std::vector<std::string> fetched;
  };
  const std::vector<Case> cases = {
      {0, {}},
      {1, {"ItGetLine TF_CPU_ALL 1"}},
      {3, {"ItGetLine TF_CPU_ALL 1", "ItGetLine TF_CPU_ALL 2", "ItGetLine TF_CPU_ALL 3"}},
  };
  for (const Case& c : cases) {
    StepRun t;
    t.rfc.rows["TF_CPU_ALL"] = std::vector<std::string>(c.rows, std::string(48, 'r'));
    const rfc::StepResult<rfc::ProbeAnswer> result = rfc::ProbeServer(t.Step());
    EXPECT_TRUE(std::holds_alternative<rfc::ProbeAnswer>(result)) << c.rows;
    EXPECT_EQ(t.rfc.LogOf("ItGetLine"), c.fetched) << c.rows;
    EXPECT_EQ(t.rfc.log.back(), "ItDelete TF_CPU_ALL") << c.rows;
  }
}

}  // namespace
