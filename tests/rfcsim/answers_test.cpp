// What RfcReceive hands over: importing fields and table rows, byte for
// byte at the places the receiving side reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "tests/rfcsim/engine_fixture.h"

namespace rfcsim::testing {
namespace {

template <typename Integer>
Integer IntegerAt(const void* row, unsigned offset) {
  Integer value;
  std::memcpy(&value, static_cast<const unsigned char*>(row) + offset, sizeof value);
  return value;
}

std::string TextAt(const void* row, unsigned offset, unsigned length) {
  return std::string(static_cast<const char*>(row) + offset, length);
}

class RfcsimAnswers : public EngineTest {
 protected:
  void SetUp() override {
    UseLandscape(R"({"systems": [{"name": "PRD", "ashost": "sapprd01", "sysnr": 0,
      "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
      "functions": {
        "GET_CPU_ALL": {
          "importing": {"OP_SYSTEM": "Linux", "ACTIVEFLAG": -2},
          "tables": {"TF_CPU_ALL": [
            {"TYPE": -3, "SERIALNR": 2, "NBR_CPU": 16, "IDLE_TOTAL": -2147483648},
            {"SUBTYPE": 32767, "LOAD1_AVG": 2147483647}]}},
        "RFC_SYSTEM_INFO": {"importing": {"RFCSI_EXPORT": {
          "RFCDBSYS": "ORACLE", "RFCSYSID": null, "RFCDATABS": {"hex": "41 00"}}}},
        "ADA_DB_FILLING": {"tables": {
          "DEVSTAT": [
            {"NAME": "DISK1", "CONF_SIZE": 5000, "PAG": -1, "PAGESx": 37, "UNx_USED": 63},
            {"CONF_SIZE": {"hex": "999999999999999999999F"}, "TEMP_USED": 999}],
          "DEVSP_HIST": []}}}}]})");
    handle_ = OpenServer("sapprd01", 0);
    ASSERT_NE(handle_, 0u);
  }

  RFC_HANDLE handle_ = 0;
};

TEST_F(RfcsimAnswers, CpuRowsHaveTheirIntegersAtTheirOffsets) {
  const CpuCall call = CallCpu(handle_);
  ASSERT_EQ(call.receive_result, 0);
  ASSERT_EQ(engine_->TableFill(call.table), 2u);
  const void* first = engine_->TableLine(call.table, 1);
  const void* second = engine_->TableLine(call.table, 2);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(IntegerAt<std::int16_t>(first, 0), -3);
  EXPECT_EQ(IntegerAt<std::int16_t>(first, 2), 0);  // not given: zero
  EXPECT_EQ(IntegerAt<std::int16_t>(first, 4), 2);
  EXPECT_EQ(IntegerAt<std::int32_t>(first, 8), 16);
  EXPECT_EQ(IntegerAt<std::int32_t>(first, 44), INT32_MIN);
  EXPECT_EQ(IntegerAt<std::int16_t>(second, 2), 32767);
  EXPECT_EQ(IntegerAt<std::int32_t>(second, 12), INT32_MAX);
  EXPECT_EQ(IntegerAt<std::int32_t>(second, 8), 0);
  EXPECT_EQ(engine_->DeleteTable(call.table), 0);
}

TEST_F(RfcsimAnswers, ImportingFieldsAreWrittenOnlyWithTheModulesTypeAndLength) {
  ASSERT_EQ(engine_->Call(handle_, "GET_CPU_ALL", nullptr, nullptr), 0);
  std::int32_t active = 99, interval = 99, wrong_type = 99;
  char op_system[52], short_op_system[50], read_flag[3], unknown[4];
  std::memset(op_system, '#', sizeof op_system);
  std::memset(short_op_system, '#', sizeof short_op_system);
  std::memset(read_flag, '#', sizeof read_flag);
  std::memset(unknown, '#', sizeof unknown);
  RFC_PARAMETER importing[] = {
      {"ACTIVEFLAG", 10, RFCTYPE_INT, 4, &active},
      {"OP_SYSTEM", 9, RFCTYPE_CHAR, 52, op_system},
      {"F_CPU_ALL_READ", 14, RFCTYPE_CHAR, 3, read_flag},
      {"INTERVAL", 8, RFCTYPE_INT, 4, &interval},
      {"NORMCOLLINT", 11, RFCTYPE_CHAR, 4, &wrong_type},       // an integer asked as text
      {"LASTCOLLWRT", 11, RFCTYPE_CHAR, 50, short_op_system},  // wrong length
      {"NO_SUCH_FIELD", 13, RFCTYPE_CHAR, 4, unknown},
      {}};
  char* exception = nullptr;
  ASSERT_EQ(engine_->Receive(handle_, importing, nullptr, &exception), 0);
  EXPECT_EQ(active, -2);
  EXPECT_EQ(std::string(op_system, 52), "Linux" + std::string(47, ' '));
  EXPECT_EQ(std::string(read_flag, 3), "X  ");  // a default
  EXPECT_EQ(interval, 10);
  EXPECT_EQ(wrong_type, 99);
  EXPECT_EQ(std::string(short_op_system, 50), std::string(50, '#'));
  EXPECT_EQ(std::string(unknown, 4), "####");
}

TEST_F(RfcsimAnswers, SystemInfoNeedsTheInstalledStructureHandle) {
  RFC_TYPEHANDLE rfcsi = 0;
  ASSERT_EQ(engine_->InstallStructure("RFCSI", nullptr, 0, &rfcsi), 0);
  char answer[200], as_text[200];
  std::memset(answer, '#', sizeof answer);
  std::memset(as_text, '#', sizeof as_text);
  for (auto [type, buffer] :
       {std::pair{rfcsi, answer}, std::pair{unsigned{RFCTYPE_CHAR}, as_text}}) {
    RFC_PARAMETER importing[] = {{"RFCSI_EXPORT", 12, type, 200, buffer}, {}};
    ASSERT_EQ(engine_->Call(handle_, "RFC_SYSTEM_INFO", nullptr, nullptr), 0);
    char* exception = nullptr;
    ASSERT_EQ(engine_->Receive(handle_, importing, nullptr, &exception), 0);
  }
  EXPECT_EQ(TextAt(answer, 101, 10), "ORACLE    ");
  EXPECT_EQ(TextAt(answer, 45, 8), "sapprd01");            // defaults stay
  EXPECT_EQ(TextAt(answer, 53, 8), std::string(8, '\0'));  // null removed the default
  EXPECT_EQ(TextAt(answer, 61, 8), std::string("A\0      ", 8));
  EXPECT_EQ(TextAt(answer, 0, 13), "0111100LITIE3");
  EXPECT_EQ(TextAt(answer, 156, 44), std::string(44, ' '));
  EXPECT_EQ(std::string(as_text, 200), std::string(200, '#'));
}

TEST_F(RfcsimAnswers, FillingRowsCarryPackedSizes) {
  RFC_TYPEHANDLE hist_type = 0, devstat_type = 0;
  engine_->InstallStructure("ADA_DBHIST", nullptr, 0, &hist_type);
  engine_->InstallStructure("ADA_DEVSTA", nullptr, 0, &devstat_type);
  ITAB_H hist = engine_->CreateTable("DEVSP_HIST", 104, 0, 0);
  ITAB_H devstat = engine_->CreateTable("DEVSTAT", 144, 0, 0);
  // A short table gets its rows cut, never written past.
  ITAB_H short_devstat = engine_->CreateTable("DEVSTAT", 80, 0, 0);
  for (auto [table, row_length] : {std::pair{devstat, 144u}, std::pair{short_devstat, 80u}}) {
    RFC_TABLE tables[] = {
        {"DEVSP_HIST", 10, hist_type, 104, hist, RFC_ITMODE_BYREFERENCE, 0},
        {"DEVSTAT", 7, devstat_type, row_length, table, RFC_ITMODE_BYREFERENCE, 0},
        {}};
    RFC_PARAMETER none[] = {{}};
    ASSERT_EQ(engine_->Call(handle_, "ADA_DB_FILLING", none, tables), 0);
    char* exception = nullptr;
    ASSERT_EQ(engine_->Receive(handle_, none, tables, &exception), 0);
  }
  EXPECT_EQ(engine_->TableFill(hist), 0u);
  ASSERT_EQ(engine_->TableFill(devstat), 2u);

  const void* row = engine_->TableLine(devstat, 1);
  EXPECT_EQ(TextAt(row, 0, 70), "DISK1" + std::string(65, ' '));
  EXPECT_EQ(TextAt(row, 70, 11), std::string("\0\0\0\0\0\0\0\0\x05\x00\x0C", 11));  // 5000
  EXPECT_EQ(TextAt(row, 81, 11), std::string("\0\0\0\0\0\0\0\0\0\0\x1D", 11));      // -1
  EXPECT_EQ(IntegerAt<std::int32_t>(row, 92), 37);
  EXPECT_EQ(TextAt(row, 96, 11), std::string(11, '\0'));  // not given
  EXPECT_EQ(IntegerAt<std::int32_t>(row, 140), 63);

  row = engine_->TableLine(devstat, 2);
  EXPECT_EQ(TextAt(row, 70, 11), std::string(10, '\x99') + "\x9F");
  EXPECT_EQ(TextAt(row, 112, 11), std::string("\0\0\0\0\0\0\0\0\0\x99\x9C", 11));  // 999

  ASSERT_EQ(engine_->TableFill(short_devstat), 2u);
  EXPECT_EQ(TextAt(engine_->TableLine(short_devstat, 1), 70, 10),
            std::string("\0\0\0\0\0\0\0\0\x05\x00", 10));
}

TEST_F(RfcsimAnswers, UnknownFunctionModuleRaisesFunctionNotFound) {
  ASSERT_EQ(engine_->Call(handle_, "Z_NOT_THERE", nullptr, nullptr), 0);
  char* exception = nullptr;
  EXPECT_EQ(engine_->Receive(handle_, nullptr, nullptr, &exception), 2);
  ASSERT_NE(exception, nullptr);
  EXPECT_STREQ(exception, "FUNCTION_NOT_FOUND");
  const auto trace = ReadLines(TracePath());
  EXPECT_NE(std::find(trace.begin(), trace.end(),
                      "ERROR       Function module \"Z_NOT_THERE\" not found"),
            trace.end());
}

// The landscape's overlays merge into the built-in answers as a JSON merge
// patch: null removes a parameter, a table or a whole part, an object
// merges into a structure, anything else replaces.
TEST(RfcsimAnswerMerge, NullRemovesAndObjectsMergeIntoTheDefaults) {
  const LandscapeLoad load = ParseLandscape(R"({"systems": [
    {"name": "PRD", "ashost": "sapprd01", "functions": {
      "GET_CPU_ALL": {"importing": {"OP_SYSTEM": null, "INTERVAL": 60},
                      "tables": {"TF_CPU_ALL": null}},
      "RFC_SYSTEM_INFO": {"importing": null},
      "ADA_DB_FILLING": {"tables": {"DEVSTAT": [{"UNx_USED": 5}]}}}},
    {"name": "QAS", "ashost": "sapqas01", "sysnr": 7}]})",
                                            "test landscape");
  ASSERT_EQ(load.problem, "");
  const auto& changed = load.landscape.systems.at(0).answers;
  const auto& plain = load.landscape.systems.at(1).answers;

  const ModuleAnswer& cpu = changed.at("GET_CPU_ALL");
  EXPECT_FALSE(cpu.importing.contains("OP_SYSTEM"));
  EXPECT_EQ(cpu.importing.at("INTERVAL"), Bytes({60, 0, 0, 0}));
  EXPECT_EQ(cpu.importing.at("ACTIVEFLAG"), Bytes({1, 0, 0, 0}));  // a default kept
  EXPECT_FALSE(cpu.tables.contains("TF_CPU_ALL"));
  EXPECT_TRUE(changed.at("RFC_SYSTEM_INFO").importing.empty());

  const ModuleAnswer& filling = changed.at("ADA_DB_FILLING");
  ASSERT_EQ(filling.tables.at("DEVSTAT").size(), 1u);
  EXPECT_EQ(filling.tables.at("DEVSTAT")[0], [] {
    Bytes row(144, 0);  // rows replace the default rows whole
    row[140] = 5;
    return row;
  }());
  EXPECT_EQ(filling.tables.at("DEVSP_HIST").size(), 1u);

  // Without overlays: the defaults, with the system's own name and host.
  EXPECT_EQ(plain.at("GET_CPU_ALL").tables.at("TF_CPU_ALL").size(), 1u);
  const Bytes& rfcsi = plain.at("RFC_SYSTEM_INFO").importing.at("RFCSI_EXPORT");
  ASSERT_EQ(rfcsi.size(), 200u);
  EXPECT_EQ(std::string(rfcsi.begin() + 13, rfcsi.begin() + 45),
            "sapqas01_QAS_07" + std::string(17, ' '));
  EXPECT_EQ(std::string(rfcsi.begin() + 101, rfcsi.begin() + 111), "ADABAS D  ");
  EXPECT_EQ(plain.at("ADA_DB_FILLING").tables.at("DEVSTAT").at(0).size(), 144u);
}

TEST(RfcsimAnswerMerge, UnknownNamesAreRejectedEvenWhenRemoved) {
  for (const char* functions :
       {R"({"GET_CPU_ALL": {"importing": {"NO_SUCH": null}}})",
        R"({"ADA_DB_FILLING": {"tables": {"NO_SUCH": null}}})",
        R"({"RFC_SYSTEM_INFO": {"importing": {"RFCSI_EXPORT": {"NO_SUCH": 1}}}})",
        R"({"RFC_SYSTEM_INFO": {"importing": {"RFCSI_EXPORT": "text"}}})",
        R"({"GET_CPU_ALL": {"tables": {"TF_CPU_ALL": {"TYPE": 1}}}})"}) {
    const LandscapeLoad load =
        ParseLandscape(std::string(R"({"systems": [{"name": "PRD", "ashost": "h", "functions": )") +
                           functions + "}]}",
                       "test landscape");
    EXPECT_NE(load.problem, "") << functions;
    EXPECT_TRUE(load.landscape.systems.empty()) << functions;
  }
}

}  // namespace
}  // namespace rfcsim::testing
