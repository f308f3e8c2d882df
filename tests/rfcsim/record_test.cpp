// The record: one JSON line per operation with what the caller passed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/rfcsim/engine_fixture.h"

namespace rfcsim::testing {
namespace {

using nlohmann::json;

class RfcsimRecord : public EngineTest {
 protected:
  void SetUp() override { UseLandscape(kTwoSystems); }
};

TEST_F(RfcsimRecord, OpenKeepsPaddingAndTellsAbsentTextsFromEmptyOnes) {
  const RFC_HANDLE handle = OpenServer("sapprd01", 0, "MONITOR     ", "secret    ");
  RFC_CONNOPT_R3ONLY server{"", 3, "gwhost", nullptr};
  RFC_OPTIONS options{"", RFC_MODE_R3ONLY, &server, "100", "MONITOR", "geheim\xDF", nullptr, 0};
  engine_->Open(&options);
  RFC_CONNOPT_CPIC gateway{"r2gate", "sapgw42"};
  RFC_OPTIONS r2{"R2", RFC_MODE_CPIC, &gateway, "100", "MONITOR", "secret", "D", 0};
  engine_->Open(&r2);

  const auto opens = Recorded("RfcOpen");
  ASSERT_EQ(opens.size(), 3u);
  EXPECT_EQ(opens[0], json::parse(R"({"op": "RfcOpen", "options": {
      "destination": "PRD", "mode": 0, "client": "100", "user": "MONITOR     ",
      "password": "secret    ", "language": "E", "trace": 0,
      "connection": {"host": "sapprd01", "system_number": 0,
                     "gateway_host": null, "gateway_service": null}},
      "system": "PRD", "handle": )" +
                                  std::to_string(handle) + "}"));
  EXPECT_EQ(opens[1]["options"]["connection"], json::parse(R"({"host": "", "system_number": 3,
      "gateway_host": "gwhost", "gateway_service": null})"));
  EXPECT_EQ(opens[1]["options"]["password"], "geheim\u00df");  // the byte DF as a character
  EXPECT_EQ(opens[1]["options"]["language"], nullptr);
  EXPECT_EQ(opens[1]["handle"], 0);
  EXPECT_EQ(opens[1]["system"], nullptr);
  EXPECT_EQ(opens[2]["options"]["connection"],
            json::parse(R"({"gateway_host": "r2gate", "gateway_service": "sapgw42"})"));
  EXPECT_EQ(opens[2]["system"], "R2S");
}

TEST_F(RfcsimRecord, ARemoteCallFromStructureToDeletedTable) {
  RFC_ENV environment{nullptr, nullptr};
  engine_->Environment(&environment);
  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  const RFC_TYPE_ELEMENT elements[] = {{"TYPE", RFCTYPE_INT2, 2, 0, 0},
                                       {"NBR_CPU", RFCTYPE_INT, 4, 0, 0}};
  RFC_TYPEHANDLE type = 0;
  engine_->InstallStructure("CPU_ALL", elements, 2, &type);
  ITAB_H table = engine_->CreateTable("TF_CPU_ALL", 48, 0, 0);
  char local[] = "LOCAL ";
  std::int32_t count = -7;
  RFC_PARAMETER exporting[] = {
      {"LOCAL_REMOTE", 12, RFCTYPE_CHAR, 6, local}, {"COUNT", 5, RFCTYPE_INT, 4, &count}, {}};
  RFC_TABLE tables[] = {{"TF_CPU_ALL", 10, type, 48, table, RFC_ITMODE_BYREFERENCE, 0}, {}};
  engine_->Call(handle, "GET_CPU_ALL", exporting, tables);
  std::int32_t flag = 0;
  RFC_PARAMETER importing[] = {{"ACTIVEFLAG", 10, RFCTYPE_INT, 4, &flag}, {}};
  char* exception = nullptr;
  engine_->Receive(handle, importing, tables, &exception);
  for (unsigned row = 1; row <= engine_->TableFill(table); ++row) engine_->TableLine(table, row);
  engine_->DeleteTable(table);
  engine_->Close(handle);

  EXPECT_EQ(Ops(), (std::vector<std::string>{"RfcEnvironment", "RfcOpen", "RfcInstallStructure",
                                             "ItCreate", "RfcCall", "RfcReceive", "ItFill",
                                             "ItGetLine", "ItFill", "ItDelete", "RfcClose"}));
  const auto lines = RecordLines();
  EXPECT_EQ(lines[0], json::parse(R"({"op": "RfcEnvironment", "error_handler": false,
                                      "allocate": false})"));
  EXPECT_EQ(lines[2], json::parse(R"({"op": "RfcInstallStructure", "name": "CPU_ALL",
      "element_count": 2, "elements": [
        {"name": "TYPE", "type": 9, "length": 2, "decimals": 0, "offset": 0},
        {"name": "NBR_CPU", "type": 8, "length": 4, "decimals": 0, "offset": 0}],
      "type_handle": )" + std::to_string(type) +
                                  R"(, "result": 0})"));
  EXPECT_EQ(lines[3], json::parse(R"({"op": "ItCreate", "name": "TF_CPU_ALL", "row_length": 48,
      "occurs": 0, "memory": 0, "table": 1})"));
  const json table_entry = json::parse(R"({"name": "TF_CPU_ALL", "name_length": 10, "type": )" +
                                       std::to_string(type) + R"(, "structure": "CPU_ALL",
      "row_length": 48, "table": 1, "mode": 0, "new_table": 0})");
  EXPECT_EQ(lines[4]["exporting"], json::parse(R"([
      {"name": "LOCAL_REMOTE", "name_length": 12, "type": 0, "structure": null, "length": 6,
       "value": "LOCAL "},
      {"name": "COUNT", "name_length": 5, "type": 8, "structure": null, "length": 4,
       "value": -7}])"));
  EXPECT_EQ(lines[4]["tables"], json::array({table_entry}));
  EXPECT_EQ(lines[5], json::parse(R"({"op": "RfcReceive", "handle": )" + std::to_string(handle) +
                                  R"(, "function": "GET_CPU_ALL", "result": 0, "importing": [
      {"name": "ACTIVEFLAG", "name_length": 10, "type": 8, "structure": null, "length": 4}],
      "tables": [)" + table_entry.dump() +
                                  "]}"));
  EXPECT_EQ(lines[7], json::parse(R"({"op": "ItGetLine", "table": 1, "name": "TF_CPU_ALL",
                                      "row": 1, "found": true})"));
  EXPECT_EQ(lines[9], json::parse(R"({"op": "ItDelete", "table": 1, "name": "TF_CPU_ALL",
                                      "result": 0})"));
  EXPECT_EQ(lines[10]["was_open"], true);
}

TEST_F(RfcsimRecord, FailuresRecordTheirExceptionAndTheHandlerCallAfterTheOperation) {
  UseLandscape(R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
      "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
      "faults": [{"operation": "RfcReceive GET_CPU_ALL", "result": 3, "exception": null},
                 {"operation": "ItDelete", "error_handler": true}]}]})");
  const CpuCall call = CallCpu(OpenServer("sapprd01", 0));
  engine_->DeleteTable(call.table);
  engine_->DeleteTable(call.table);
  RFC_ERROR_INFO info{};
  engine_->LastError(&info);

  const auto lines = RecordLines();
  ASSERT_GE(lines.size(), 5u);
  const auto receive = Recorded("RfcReceive");
  ASSERT_EQ(receive.size(), 1u);
  EXPECT_EQ(receive[0]["result"], 3);
  EXPECT_EQ(receive[0]["exception"], nullptr);
  // Each ItDelete fails and is followed by its handler call; the second
  // still finds the table.
  const std::size_t n = lines.size();
  const json handler = json::parse(R"({"op": "error_handler", "operation": "ItDelete TF_CPU_ALL",
                                       "registered": false})");
  const json failed_delete = json::parse(R"({"op": "ItDelete", "table": 1, "name": "TF_CPU_ALL",
                                             "result": 1})");
  EXPECT_EQ(lines[n - 5], failed_delete);
  EXPECT_EQ(lines[n - 4], handler);
  EXPECT_EQ(lines[n - 3], failed_delete);
  EXPECT_EQ(lines[n - 2], handler);
  EXPECT_EQ(lines[n - 1], json::parse(R"({"op": "RfcLastError",
      "key": "RFC_ERROR_SYSTEM_FAILURE", "status": "simulated",
      "message": "simulated failure of ItDelete", "internal_status": "ItDelete"})"));
}

TEST_F(RfcsimRecord, WithoutARecordPathNothingIsWritten) {
  LandscapeLoad load = ParseLandscape(kTwoSystems, "x");
  Engine quiet(std::move(load.landscape), EngineFiles{TracePath(), IniPath(), ""});
  RFC_CONNOPT_R3ONLY server{"sapprd01", 0, nullptr, nullptr};
  RFC_OPTIONS options{"PRD", RFC_MODE_R3ONLY, &server, "100", "MONITOR", "secret", "E", 0};
  EXPECT_NE(quiet.Open(&options), 0u);
  EXPECT_FALSE(std::filesystem::exists(RecordPath()));
}

}  // namespace
}  // namespace rfcsim::testing
