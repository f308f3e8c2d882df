// The three remote steps through the NetWeaver backend: what the probe
// sends, what is read of RFCSI and of DEVSTAT, and the trace lines of each.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/rfc/netweaver/backend_fixture.h"

namespace {

using fake_nw::Integer;
using fake_nw::Text;

fake_nw::Module CpuModule(std::vector<::nw::RFC_PARAMETER_DESC> parameters) {
  fake_nw::Module module;
  module.parameters = std::move(parameters);
  module.parameters.push_back(
      fake_nw::Parameter(u"TF_CPU_ALL", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES));
  module.answer.tables[u"TF_CPU_ALL"] = fake_nw::TableData{};
  return module;
}

// GET_CPU_ALL's texts go to the module's importing and changing parameters
// by name, never wider than the module takes them unless the excess holds
// more than blanks.
TEST(NetWeaverProbe, SendsTheTextsTheModuleTakes) {
  using fake_nw::Parameter;
  struct Case {
    const char* what;
    std::vector<::nw::RFC_PARAMETER_DESC> parameters;
    std::map<std::u16string, std::u16string> sent;
  };
  const std::u16string blanks(32, u' ');
  const std::vector<Case> cases = {
      {"as wide as the module's",
       {Parameter(u"LOCAL_REMOTE", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 6),
        Parameter(u"LOGICAL_DESTINATION", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 32)},
       {{u"LOCAL_REMOTE", u"LOCAL "}, {u"LOGICAL_DESTINATION", blanks}}},
      {"narrower: trailing blanks not sent",
       {Parameter(u"LOCAL_REMOTE", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 5),
        Parameter(u"LOGICAL_DESTINATION", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 10)},
       {{u"LOCAL_REMOTE", u"LOCAL"}, {u"LOGICAL_DESTINATION", std::u16string(10, u' ')}}},
      {"narrower than the text: sent whole",
       {Parameter(u"LOCAL_REMOTE", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 4)},
       {{u"LOCAL_REMOTE", u"LOCAL "}}},
      {"changing taken, exporting not",
       {Parameter(u"LOCAL_REMOTE", ::nw::RFCTYPE_CHAR, ::nw::RFC_CHANGING, 6),
        Parameter(u"LOGICAL_DESTINATION", ::nw::RFCTYPE_CHAR, ::nw::RFC_EXPORT, 32)},
       {{u"LOCAL_REMOTE", u"LOCAL "}}},
      {"none taken", {}, {}},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    fake_nw::ThePartner().modules[u"GET_CPU_ALL"] = CpuModule(c.parameters);
    const rfc::StepResult<rfc::ProbeAnswer> result = backend.Connect()->Probe();
    EXPECT_EQ(result, (rfc::StepResult<rfc::ProbeAnswer>(rfc::ProbeAnswer{}))) << c.what;
    EXPECT_EQ(fake_nw::ThePartner().sent, c.sent) << c.what;
    EXPECT_EQ(fake_nw::ThePartner().live_functions, 0) << c.what;
  }
}

fake_nw::Module SystemInfoModule(std::u16string host, std::u16string database) {
  fake_nw::Module module;
  module.parameters = {
      fake_nw::Parameter(u"CURRENT_RESOURCES", ::nw::RFCTYPE_INT, ::nw::RFC_EXPORT, 4),
      fake_nw::Parameter(u"RFCSI_EXPORT", ::nw::RFCTYPE_STRUCTURE, ::nw::RFC_EXPORT, 200)};
  module.answer.values[u"CURRENT_RESOURCES"] = Integer(3);
  fake_nw::Container& rfcsi = module.answer.structures[u"RFCSI_EXPORT"];
  rfcsi.values[u"RFCHOST"] = Text(std::move(host));
  rfcsi.values[u"RFCDBSYS"] = Text(std::move(database));
  return module;
}

// RFCHOST and RFCDBSYS as wide as the classic structure holds them, one
// byte per character, each up to a NUL.
TEST(NetWeaverSystemInfo, FieldsReadAsTheClassicStructureHeldThem) {
  struct Case {
    const char* what;
    fake_nw::Module module;
    rfc::SystemInfo read;
  };
  fake_nw::Module without_rfcsi = SystemInfoModule(u"", u"");
  without_rfcsi.parameters.pop_back();
  const std::vector<Case> cases = {
      {"plain", SystemInfoModule(u"sapprd01", u"ADABAS D"), {"ADABAS D  ", "sapprd01"}},
      {"beyond ISO 8859-1",
       SystemInfoModule(u"h\U0001D11Est\u20ac", u"ADA\u00dfD"),
       {"ADA\xdf"
        "D     ",
        "h?st?   "}},
      {"up to a NUL",
       SystemInfoModule(std::u16string(u"sap\0prd", 7), u"ADA"),
       {"ADA       ", "sap"}},
      {"module without the structure", without_rfcsi, {"", ""}},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    fake_nw::ThePartner().modules[u"RFC_SYSTEM_INFO"] = c.module;
    EXPECT_EQ(backend.Connect()->ReadSystemInfo(), rfc::StepResult<rfc::SystemInfo>(c.read))
        << c.what;
    EXPECT_EQ(fake_nw::ThePartner().live_functions, 0) << c.what;
  }
}

// A DEVSTAT row of the example system, CONF_SIZE as given.
fake_nw::Container DevstatRow(fake_nw::Value conf_size) {
  fake_nw::Container row;
  row.values = {{u"NAME", Text(u"DISKD0001")}, {u"CONF_SIZE", std::move(conf_size)},
                {u"PAG", Text(u"1850")},       {u"PAGESx", Integer(37)},
                {u"PERM_USED", Text(u"1700")}, {u"PERMx_USED", Integer(-1)},
                {u"TEMP_USED", Text(u"150")},  {u"TEMPx_USED", Integer(3)},
                {u"UN_USED", Text(u"3150")},   {u"UNx_USED", Integer(63)}};
  return row;
}

fake_nw::Module FillingModule(std::vector<fake_nw::Container> rows) {
  fake_nw::Module module;
  module.parameters = {fake_nw::Parameter(u"DEVSP_HIST", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES),
                       fake_nw::Parameter(u"DEVSTAT", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES)};
  module.answer.tables[u"DEVSP_HIST"] = fake_nw::TableData{};
  module.answer.tables[u"DEVSTAT"].rows = std::move(rows);
  return module;
}

struct FillingOutcome {
  rfc::StepResult<rfc::FillingRead> result;
  std::vector<rfc::FillingRow> rows;
};

FillingOutcome ReadFilling(BackendFixture& backend, std::vector<fake_nw::Container> rows) {
  fake_nw::ThePartner().modules[u"ADA_DB_FILLING"] = FillingModule(std::move(rows));
  FillingOutcome outcome{rfc::FillingRead{}, {}};
  outcome.result = backend.Connect()->ReadFilling(
      [&](const rfc::FillingRow& row) { outcome.rows.push_back(row); });
  return outcome;
}

// A size arrives as its decimal text, or as its bytes where they are no
// packed number, and is reported as the sensor has always reported the
// packed field: within 32 bits in unsigned form, beyond exactly.
TEST(NetWeaverFilling, SizesReadAsThePackedFieldsWere) {
  struct Case {
    fake_nw::Value conf_size;
    rfc::FillingSize total;
  };
  const std::vector<Case> cases = {
      {Text(u"0"), {"0", "0"}},
      {Text(u"-0"), {"0", "0"}},
      {Text(u"-1"), {"4294967295", "4294967"}},
      {Text(u"2147483647"), {"2147483647", "2147483"}},
      {Text(u"2147483648"), {"2147483648", "2147483"}},
      {Text(u"-2147483648"), {"2147483648", "2147483"}},
      {Text(u"-2147483649"), {"-2147483649", "-2147483"}},
      {Text(u"123456789012345678901"), {"123456789012345678901", "123456789012345678"}},
      {Text(u"-999999999999999999999"), {"-999999999999999999999", "-999999999999999999"}},
      {Text(u" +0001290240.00 "), {"1290240", "1290"}},
      // Longer than the first buffer: asked for again with room for it.
      {Text(std::u16string(50, u'0') + u"5000"), {"5000", "5"}},
      {fake_nw::RawBytes(std::string(11, '\0')), {"0", "0"}},
      {fake_nw::RawBytes(std::string("\x12\x3A\xF4\x00\x00\x00\x00\x00\x00\x00\xBE", 11)),
       {"123", "0"}},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    const FillingOutcome outcome = ReadFilling(backend, {DevstatRow(c.conf_size)});
    ASSERT_EQ(outcome.result, rfc::StepResult<rfc::FillingRead>(rfc::FillingRead{1}))
        << c.total.raw;
    ASSERT_EQ(outcome.rows.size(), 1u);
    EXPECT_EQ(outcome.rows[0].total, c.total);
  }
}

TEST(NetWeaverFilling, RowsInOrderWithEveryField) {
  BackendFixture backend;
  const FillingOutcome outcome =
      ReadFilling(backend, {DevstatRow(Text(u"5000")), DevstatRow(Text(u"6000"))});
  EXPECT_EQ(outcome.result, rfc::StepResult<rfc::FillingRead>(rfc::FillingRead{2}));
  ASSERT_EQ(outcome.rows.size(), 2u);
  EXPECT_EQ(outcome.rows[0], (rfc::FillingRow{.total = {"5000", "5"},
                                              .used = {"1850", "1"},
                                              .perm_used = {"1700", "1"},
                                              .temp_used = {"150", "0"},
                                              .free = {"3150", "3"},
                                              .used_percent = 37,
                                              .perm_used_percent = 4294967295u,
                                              .temp_used_percent = 3,
                                              .free_percent = 63}));
  EXPECT_EQ(outcome.rows[1].total, (rfc::FillingSize{"6000", "6"}));
  EXPECT_EQ(fake_nw::ThePartner().live_functions, 0);
}

// A value that cannot be read fails the step before any row is reported.
TEST(NetWeaverFilling, UnreadableValueFailsTheStepWithoutRows) {
  struct Case {
    fake_nw::Container second_row;
    std::string message;
  };
  fake_nw::Container without_free = DevstatRow(Text(u"1"));
  without_free.values.erase(u"UN_USED");
  const std::vector<Case> cases = {
      {DevstatRow(Text(u"1234567890123456789012")),
       "value 1234567890123456789012 of field 'CONF_SIZE' does not fit 11 packed bytes"},
      {DevstatRow(Text(u"12.5")), "value 12.5 of field 'CONF_SIZE' does not fit 11 packed bytes"},
      {DevstatRow(Text(u"1e3")), "value 1e3 of field 'CONF_SIZE' does not fit 11 packed bytes"},
      {without_free, "field UN_USED not found"},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    const FillingOutcome outcome = ReadFilling(backend, {DevstatRow(Text(u"1")), c.second_row});
    EXPECT_EQ(outcome.result,
              rfc::StepResult<rfc::FillingRead>(rfc::RemoteFailure{1, "", c.message}))
        << c.message;
    EXPECT_TRUE(outcome.rows.empty()) << c.message;
  }
}

TEST(NetWeaverFilling, ModuleWithoutDevstatHasNoRows) {
  BackendFixture backend;
  fake_nw::Module module = FillingModule({});
  module.parameters.pop_back();
  fake_nw::ThePartner().modules[u"ADA_DB_FILLING"] = module;
  bool called = false;
  EXPECT_EQ(backend.Connect()->ReadFilling([&](const rfc::FillingRow&) { called = true; }),
            rfc::StepResult<rfc::FillingRead>(rfc::FillingRead{0}));
  EXPECT_FALSE(called);
}

// Each step writes the lines of the classic RfcCall and RfcReceive, failed
// or not; the failure's block names RfcReceive.
TEST(NetWeaverSteps, TracedAsTheClassicPair) {
  BackendFixture backend;
  fake_nw::ThePartner().modules[u"GET_CPU_ALL"] = CpuModule({});
  fake_nw::ThePartner().modules[u"ADA_DB_FILLING"] = FillingModule({});
  fake_nw::ThePartner().missing_module_error =
      fake_nw::Error(::nw::RFC_ABAP_EXCEPTION, ::nw::ABAP_APPLICATION_FAILURE, u"FU_NOT_FOUND",
                     u"ID:FL Type:E Number:046 RFC_SYSTEM_INFO");
  std::unique_ptr<rfc::SapConnection> connection = backend.Connect();
  connection->Probe();
  connection->ReadSystemInfo();
  connection->ReadFilling([](const rfc::FillingRow&) {});
  EXPECT_EQ(backend.trace_lines,
            "1 RfcOpen called \n"
            "1 RfcCall called \n1 RfcReceive called \n"
            "1 RfcCall called \n1 RfcReceive called \n"
            "1 RfcCall called \n1 RfcReceive called \n");
  EXPECT_NE(BackendFixture::TraceFile().find("\nDETAIL      RfcReceive RFC_SYSTEM_INFO\n"),
            std::string::npos);
}

}  // namespace
