// Remote calls through the NetWeaver adapter: rows, structures and
// parameters rebuilt as the classic library delivered them, and the
// classic outcome of every failure.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "include/texts.h"
#include "measure/filling_row.h"
#include "output/packed_decimal.h"
#include "rfc/database_filling.h"
#include "rfc/netweaver/text_conversion.h"
#include "rfc/system_info.h"
#include "tests/rfc/netweaver/adapter_fixture.h"

namespace {

using fake_nw::Integer;
using fake_nw::Text;

// Z_ROWS answers one row in table ROWS: NAME CHAR 5 @0, B INT1 @5, S INT2
// @6, I INT @8, P packed 11 @12, D DATE 8 @23; the caller's rows are 32
// bytes.
constexpr unsigned kRowLength = 32;

fake_nw::Module RowsModule(const fake_nw::Container& row) {
  fake_nw::Module module;
  module.parameters = {fake_nw::Parameter(u"ROWS", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES)};
  fake_nw::TableData table;
  table.fields = {{u"NAME", ::nw::RFCTYPE_CHAR, 5, 0}, {u"B", ::nw::RFCTYPE_INT1, 1, 5},
                  {u"S", ::nw::RFCTYPE_INT2, 2, 6},    {u"I", ::nw::RFCTYPE_INT, 4, 8},
                  {u"P", ::nw::RFCTYPE_BCD, 11, 12},   {u"D", ::nw::RFCTYPE_DATE, 8, 23}};
  table.rows = {row};
  module.answer.tables[u"ROWS"] = table;
  return module;
}

fake_nw::Container Row(std::u16string name, int b, int s, int i, std::u16string packed) {
  fake_nw::Container row;
  row.values = {{u"NAME", Text(std::move(name))},
                {u"B", Integer(b)},
                {u"S", Integer(s)},
                {u"I", Integer(i)},
                {u"P", Text(std::move(packed))},
                {u"D", Text(u"20240501")}};
  return row;
}

struct RowResult {
  int code;
  std::vector<unsigned char> row;  // empty when the table has no row
};

RowResult ReceiveRow(AdapterFixture& adapter, const fake_nw::Container& row) {
  fake_nw::ThePartner().modules[u"Z_ROWS"] = RowsModule(row);
  const RfcHandle handle = adapter.Connect();
  ItabHandle table = adapter.library->ItCreate("ROWS", kRowLength);
  std::array<RfcParameter, 1> none{};
  std::array<RfcTable, 2> tables{};
  tables[0] = {"ROWS", 4, 0, kRowLength, table, 0, 0};
  adapter.library->Call(handle, "Z_ROWS", none.data(), tables.data());
  char* exception = nullptr;
  RowResult result{adapter.library->Receive(handle, none.data(), tables.data(), &exception), {}};
  if (adapter.library->ItFill(table) == 1) {
    const auto* bytes = static_cast<const unsigned char*>(adapter.library->ItGetLine(table, 1));
    result.row.assign(bytes, bytes + kRowLength);
  }
  adapter.library->ItDelete(table);
  return result;
}

template <typename T>
T At(const std::vector<unsigned char>& row, std::size_t offset) {
  T value{};
  std::memcpy(&value, row.data() + offset, sizeof value);
  return value;
}

TEST(NetWeaverRows, FieldsRebuiltAtTheirClassicOffsets) {
  struct Case {
    const char* what;
    std::u16string name;
    int b, s, i;
    std::string name_bytes;  // the 5 bytes expected at offset 0
  };
  const std::vector<Case> cases = {
      {"plain values", u"AB", 7, -2, -3, "AB   "},
      {"integer limits", u"ABCDE", 255, SHRT_MIN, INT_MIN, "ABCDE"},
      {"other limits", u"", 0, SHRT_MAX, INT_MAX, "     "},
      // é is ISO 8859-1; € and the surrogate pair of U+1D11E are not: one
      // "?" each, and the fields after the name stay in place.
      {"characters beyond ISO 8859-1", u"\u00e9\u20ac\U0001D11Ex", 1, 2, 3, "\xe9??x "},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    const RowResult result = ReceiveRow(adapter, Row(c.name, c.b, c.s, c.i, u"0"));
    ASSERT_EQ(result.code, kRfcOk) << c.what;
    ASSERT_EQ(result.row.size(), kRowLength) << c.what;
    EXPECT_EQ(std::string(result.row.begin(), result.row.begin() + 5), c.name_bytes) << c.what;
    EXPECT_EQ(At<std::uint8_t>(result.row, 5), c.b) << c.what;
    EXPECT_EQ(At<std::int16_t>(result.row, 6), c.s) << c.what;
    EXPECT_EQ(At<std::int32_t>(result.row, 8), c.i) << c.what;
    EXPECT_EQ(std::string(result.row.begin() + 23, result.row.begin() + 31), "20240501") << c.what;
    EXPECT_EQ(result.row[31], 0) << c.what << ": beyond the described fields";
  }
}

TEST(NetWeaverRows, PackedDecimalsRepackedIntoTheirElevenBytes) {
  struct Case {
    std::u16string text;  // what RfcGetString gives
    std::string read;     // the sensor's reading of the packed field
  };
  const std::vector<Case> cases = {
      {u"0", "+000000000000000000000"},
      {u"-1", "-000000000000000000001"},
      {u"2147483647", "+000000000002147483647"},
      {u"2147483648", "+000000000002147483648"},
      {u"-2147483648", "-000000000002147483648"},
      {u"-2147483649", "-000000000002147483649"},
      {u"4294967295", "+000000000004294967295"},
      {u"123456789012345678901", "+123456789012345678901"},
      {u"-999999999999999999999", "-999999999999999999999"},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    const RowResult result = ReceiveRow(adapter, Row(u"N", 0, 0, 0, c.text));
    ASSERT_EQ(result.code, kRfcOk);
    const std::span<const unsigned char> packed(result.row.data() + 12, 11);
    EXPECT_EQ(PackedToText(packed, 0), c.read);
    // The sign nibble is C for zero and above, D below.
    EXPECT_EQ(HexText(packed).back(), c.read[0] == '-' ? 'D' : 'C') << c.read;
  }
}

TEST(NetWeaverRows, PackedValueTooLargeForTheFieldFailsTheCall) {
  AdapterFixture adapter;
  const RowResult result = ReceiveRow(adapter, Row(u"N", 0, 0, 0, u"1234567890123456789012"));
  EXPECT_EQ(result.code, kRfcFailure);
  EXPECT_TRUE(result.row.empty()) << "no half-built row";
  EXPECT_EQ(AdapterFixture::TraceDiagnosis(),
            " - value 1234567890123456789012 of field 'P' does not fit 11 packed bytes");
}

// Bytes that are no packed number (zero bytes where a row leaves the field
// out, or foreign nibbles) have no decimal text: they arrive as they are,
// as through the classic library.
TEST(NetWeaverRows, PackedBytesWithoutDecimalTextArriveAsTheyAre) {
  for (const std::string& bytes :
       {std::string(11, '\0'), std::string("\x12\x3A\xF4\x00\x00\x00\x00\x00\x00\x00\xBE", 11)}) {
    AdapterFixture adapter;
    fake_nw::Container row = Row(u"N", 0, 0, 0, u"0");
    row.values[u"P"] = fake_nw::RawBytes(bytes);
    const RowResult result = ReceiveRow(adapter, row);
    ASSERT_EQ(result.code, kRfcOk);
    EXPECT_EQ(std::string(result.row.begin() + 12, result.row.begin() + 23), bytes);
  }
}

// ADA_DB_FILLING as the sensor calls it and reads its row.
TEST(NetWeaverRows, DevstatRowReadsAsWithTheClassicLibrary) {
  AdapterFixture adapter;
  fake_nw::Module module;
  module.parameters = {fake_nw::Parameter(u"DEVSP_HIST", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES),
                       fake_nw::Parameter(u"DEVSTAT", ::nw::RFCTYPE_TABLE, ::nw::RFC_TABLES)};
  fake_nw::TableData devstat;
  devstat.fields = {
      {u"NAME", ::nw::RFCTYPE_CHAR, 70, 0},       {u"CONF_SIZE", ::nw::RFCTYPE_BCD, 11, 70},
      {u"PAG", ::nw::RFCTYPE_BCD, 11, 81},        {u"PAGESx", ::nw::RFCTYPE_INT, 4, 92},
      {u"PERM_USED", ::nw::RFCTYPE_BCD, 11, 96},  {u"PERMx_USED", ::nw::RFCTYPE_INT, 4, 108},
      {u"TEMP_USED", ::nw::RFCTYPE_BCD, 11, 112}, {u"TEMPx_USED", ::nw::RFCTYPE_INT, 4, 124},
      {u"UN_USED", ::nw::RFCTYPE_BCD, 11, 128},   {u"UNx_USED", ::nw::RFCTYPE_INT, 4, 140}};
  fake_nw::Container row;
  row.values = {{u"NAME", Text(u"DISKD0001")},
                {u"CONF_SIZE", Text(u"2147483648")},
                {u"PAG", Text(u"-1")},
                {u"PAGESx", Integer(37)},
                {u"PERM_USED", Text(u"-2147483649")},
                {u"PERMx_USED", Integer(-1)},
                {u"TEMP_USED", Text(u"0")},
                {u"TEMPx_USED", Integer(1)},
                {u"UN_USED", Text(u"1290240")},
                {u"UNx_USED", Integer(63)}};
  devstat.rows = {row};
  module.answer.tables[u"DEVSTAT"] = devstat;
  module.answer.tables[u"DEVSP_HIST"] = fake_nw::TableData{};
  fake_nw::ThePartner().modules[u"ADA_DB_FILLING"] = module;

  rfc::StructureTypes types;
  const rfc::TraceWriter no_trace;
  const rfc::StepContext step{*adapter.library, adapter.Connect(), no_trace, types};
  ItabHandle history = adapter.library->ItCreate("DEVSP_HIST", 104);
  ItabHandle status = adapter.library->ItCreate("DEVSTAT", kFillingRowLength);
  ASSERT_EQ(rfc::CallFillingModule(step, history, status).code, kRfcOk);
  ASSERT_EQ(adapter.library->ItFill(status), 1u);
  const auto* bytes = static_cast<const unsigned char*>(adapter.library->ItGetLine(status, 1));
  const FillingRow decoded =
      DecodeFillingRow(std::span<const unsigned char, kFillingRowLength>(bytes, kFillingRowLength));
  EXPECT_EQ(decoded.total, (FillingSize{"2147483648", "2147483"}));
  EXPECT_EQ(decoded.used, (FillingSize{"4294967295", "4294967"}));
  EXPECT_EQ(decoded.perm_used, (FillingSize{"-2147483649", "-2147483"}));
  EXPECT_EQ(decoded.temp_used, (FillingSize{"0", "0"}));
  EXPECT_EQ(decoded.free, (FillingSize{"1290240", "1290"}));
  EXPECT_EQ(decoded.used_percent, 37u);
  EXPECT_EQ(decoded.perm_used_percent, 4294967295u);
  EXPECT_EQ(decoded.temp_used_percent, 1u);
  EXPECT_EQ(decoded.free_percent, 63u);
  EXPECT_EQ(adapter.library->ItFill(history), 0u);
}

// RFC_SYSTEM_INFO as the sensor calls it: RFCSI rebuilt field by field,
// one byte per character.
TEST(NetWeaverStructures, SystemInfoFieldsKeepTheirPlaces) {
  struct Case {
    const char* what;
    std::u16string host;
    std::u16string database;
    std::string host_read;
    std::string database_read;
  };
  const std::vector<Case> cases = {
      {"plain", u"sapprd01", u"ADABAS D", "sapprd01", "ADABAS D  "},
      {"beyond ISO 8859-1", u"h\U0001D11Est\u20ac", u"ADA\u00dfD", "h?st?   ",
       "ADA\xdf"
       "D     "},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    fake_nw::Module module;
    module.parameters = {
        fake_nw::Parameter(u"CURRENT_RESOURCES", ::nw::RFCTYPE_INT, ::nw::RFC_EXPORT, 4),
        fake_nw::Parameter(u"RFCSI_EXPORT", ::nw::RFCTYPE_STRUCTURE, ::nw::RFC_EXPORT, 200)};
    module.answer.values[u"CURRENT_RESOURCES"] = Integer(3);
    fake_nw::Container& rfcsi = module.answer.structures[u"RFCSI_EXPORT"];
    for (const char16_t* field :
         {u"RFCPROTO", u"RFCCHARTYP", u"RFCINTTYP", u"RFCFLOTYP", u"RFCDEST", u"RFCSYSID",
          u"RFCDATABS", u"RFCDBHOST", u"RFCSAPRL", u"RFCMACH", u"RFCOPSYS", u"RFCTZONE",
          u"RFCDAYST", u"RFCIPADDR", u"RFCKERNRL", u"RFCSI_RESV"}) {
      rfcsi.values[field] = Text(u"");
    }
    rfcsi.values[u"RFCHOST"] = Text(c.host);
    rfcsi.values[u"RFCDBHOST"] = Text(c.host);
    rfcsi.values[u"RFCDBSYS"] = Text(c.database);
    fake_nw::ThePartner().modules[u"RFC_SYSTEM_INFO"] = module;

    rfc::StructureTypes types;
    const rfc::TraceWriter no_trace;
    const rfc::StepContext step{*adapter.library, adapter.Connect(), no_trace, types};
    const rfc::StepResult<rfc::SystemInfo> info = rfc::ReadSystemInfo(step);
    ASSERT_TRUE(std::holds_alternative<rfc::SystemInfo>(info)) << c.what;
    EXPECT_EQ(std::get<rfc::SystemInfo>(info).host, c.host_read) << c.what;
    EXPECT_EQ(std::get<rfc::SystemInfo>(info).database_system, c.database_read) << c.what;
  }
}

// GET_CPU_ALL's exporting texts go to the module's RFC_IMPORT parameters
// in UTF-16; its importing integers and texts come back from RFC_EXPORT.
TEST(NetWeaverParameters, ExportingSentAndImportingReceivedByDirection) {
  AdapterFixture adapter;
  fake_nw::Module module;
  module.parameters = {fake_nw::Parameter(u"LOCAL_REMOTE", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 6),
                       fake_nw::Parameter(u"DESTINATION", ::nw::RFCTYPE_CHAR, ::nw::RFC_IMPORT, 3),
                       fake_nw::Parameter(u"INTERVAL", ::nw::RFCTYPE_INT, ::nw::RFC_EXPORT, 4),
                       fake_nw::Parameter(u"OP_SYSTEM", ::nw::RFCTYPE_CHAR, ::nw::RFC_EXPORT, 10),
                       // Same names the other way round: never taken for the other list.
                       fake_nw::Parameter(u"SENT_ONLY", ::nw::RFCTYPE_INT, ::nw::RFC_IMPORT, 4)};
  module.answer.values = {{u"INTERVAL", Integer(-5)},
                          {u"OP_SYSTEM", Text(u"Linux\u00e9\u20ac")},
                          {u"SENT_ONLY", Integer(9)}};
  fake_nw::ThePartner().modules[u"Z_PARAMS"] = module;

  const RfcHandle handle = adapter.Connect();
  std::array<char, 6> local{'L', 'O', 'C', 'A', 'L', '\xe9'};
  std::array<char, 6> destination{'N', 'O', 'N', ' ', ' ', ' '};
  std::array<RfcParameter, 4> exporting{{
      {"LOCAL_REMOTE", 12, kRfcTypeChar, 6, local.data()},
      {"DESTINATION", 11, kRfcTypeChar, 6, destination.data()},
      {"NOT_A_PARAMETER", 15, kRfcTypeChar, 6, local.data()},
      {},
  }};
  std::int32_t interval = 0;
  std::int32_t sent_only = 77;
  std::array<char, 12> os;
  os.fill('x');
  std::array<RfcParameter, 4> importing{{
      {"INTERVAL", 8, kRfcTypeInt, 4, &interval},
      {"OP_SYSTEM", 9, kRfcTypeChar, 12, os.data()},
      {"SENT_ONLY", 9, kRfcTypeInt, 4, &sent_only},
      {},
  }};
  std::array<RfcTable, 1> no_tables{};
  ASSERT_EQ(adapter.library->Call(handle, "Z_PARAMS", exporting.data(), no_tables.data()), 0);
  char* exception = nullptr;
  ASSERT_EQ(adapter.library->Receive(handle, importing.data(), no_tables.data(), &exception), 0);
  EXPECT_EQ(fake_nw::ThePartner().sent,
            (std::map<std::u16string, std::u16string>{{u"LOCAL_REMOTE", u"LOCAL\u00e9"},
                                                      {u"DESTINATION", u"NON"}}));
  EXPECT_EQ(interval, -5);
  EXPECT_EQ(std::string(os.data(), os.size()), "Linux\xe9?     ");
  EXPECT_EQ(sent_only, 77) << "an RFC_IMPORT parameter is not received";
  EXPECT_EQ(fake_nw::ThePartner().live_functions, 0);
}

// The classic outcome of each NetWeaver failure, its exception text, and
// the NetWeaver message in the trace file as the sensor reads it.
TEST(NetWeaverOutcomes, EachFailureMapsToItsClassicResult) {
  struct Case {
    const char* what;
    ::nw::RFC_ERROR_INFO error;
    bool module_missing;
    int code;
    const char* exception;  // null: the caller's pointer stays as it was
    std::string diagnosis;
  };
  using fake_nw::Error;
  const std::vector<Case> cases = {
      {"ABAP exception",
       Error(::nw::RFC_ABAP_EXCEPTION, ::nw::ABAP_APPLICATION_FAILURE, u"NOT_ACTIVE",
             u"collector not active"),
       false, kRfcException, "NOT_ACTIVE", " - collector not active"},
      {"module not found",
       Error(::nw::RFC_ABAP_EXCEPTION, ::nw::ABAP_APPLICATION_FAILURE, u"FU_NOT_FOUND",
             u"ID:FL Type:E Number:046 Z_NONE"),
       true, kRfcException, "FU_NOT_FOUND", " - ID:FL Type:E Number:046 Z_NONE"},
      {"runtime failure",
       Error(::nw::RFC_ABAP_RUNTIME_FAILURE, ::nw::ABAP_RUNTIME_FAILURE, u"SYSTEM_FAILURE",
             u"Gr\u00f6\u00dfe \u20ac division by zero"),
       false, kRfcSysException, "SYSTEM_FAILURE",
       " - Gr\xf6\xdf"
       "e ? division by zero"},
      {"ABAP message",
       Error(::nw::RFC_ABAP_MESSAGE, ::nw::ABAP_RUNTIME_FAILURE, u"MESSAGE_TYPE_X",
             u"message raised"),
       false, kRfcSysException, "MESSAGE_TYPE_X", " - message raised"},
      {"communication failure",
       Error(::nw::RFC_COMMUNICATION_FAILURE, ::nw::COMMUNICATION_FAILURE,
             u"RFC_COMMUNICATION_FAILURE", u"connection to partner broken"),
       false, kRfcFailure, nullptr, " - connection to partner broken"},
      {"closed",
       Error(::nw::RFC_CLOSED, ::nw::COMMUNICATION_FAILURE, u"RFC_CLOSED", u"closed by peer"),
       false, kRfcFailure, nullptr, " - closed by peer"},
      {"invalid handle",
       Error(::nw::RFC_INVALID_HANDLE, ::nw::EXTERNAL_RUNTIME_FAILURE, u"RFC_INVALID_HANDLE",
             u"handle gone"),
       false, kRfcFailure, nullptr, " - handle gone"},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    if (c.module_missing) {
      fake_nw::ThePartner().missing_module_error = c.error;
    } else {
      fake_nw::Module module;
      module.invoke_error = c.error;
      fake_nw::ThePartner().modules[u"Z_FAIL"] = module;
    }
    WriteFile(file_names::kTraceFile, "earlier run\n");
    const RfcHandle handle = adapter.Connect();
    std::array<RfcParameter, 1> none{};
    std::array<RfcTable, 1> no_tables{};
    ASSERT_EQ(adapter.library->Call(handle, c.module_missing ? "Z_NONE" : "Z_FAIL", none.data(),
                                    no_tables.data()),
              0);
    char unchanged[] = "unchanged";
    char* exception = unchanged;
    EXPECT_EQ(adapter.library->Receive(handle, none.data(), no_tables.data(), &exception), c.code)
        << c.what;
    EXPECT_EQ(std::string(exception), c.exception ? c.exception : "unchanged") << c.what;
    EXPECT_EQ(AdapterFixture::TraceDiagnosis(), c.diagnosis) << c.what;
    EXPECT_TRUE(
        ReadFile(std::string(file_names::kTraceFile)).starts_with("earlier run\n**** ERROR "))
        << c.what << ": a block of its own, appended";
    RfcErrorInfo last{};
    adapter.library->LastError(&last);
    EXPECT_EQ(std::string(last.key), rfc::nw::Latin1FromUtf16(rfc::nw::TerminatedText(c.error.key)))
        << c.what;
    EXPECT_EQ(fake_nw::ThePartner().live_functions, 0) << c.what;
  }
}

}  // namespace

namespace {

std::vector<std::string> handled;
extern "C" void BW_RFC_CALL RecordHandlerCall(char* operation) { handled.emplace_back(operation); }

// The adapter's own tables: a handle that is none of them is the caller's
// error and goes to the error handler, as with the classic library; a
// missing row or a refused row length is an ordinary failure.
TEST(NetWeaverInternalTables, ForeignHandlesGoToTheHandlerMissingRowsDoNot) {
  struct Case {
    const char* what;
    bool (*operate)(rfc::RfcLibrary& library, ItabHandle table);  // true: the expected result
    std::vector<std::string> handled;
  };
  static int foreign = 0;
  const std::vector<Case> cases = {
      {"ItFill of a foreign handle",
       [](rfc::RfcLibrary& l, ItabHandle) { return l.ItFill(&foreign) == 0; },
       {"ItFill"}},
      {"ItGetLine of a foreign handle",
       [](rfc::RfcLibrary& l, ItabHandle) { return l.ItGetLine(&foreign, 1) == nullptr; },
       {"ItGetLine"}},
      {"ItDelete of a deleted handle",
       [](rfc::RfcLibrary& l, ItabHandle t) { return l.ItDelete(t) == 0 && l.ItDelete(t) == 1; },
       {"ItDelete"}},
      {"rows count from 1",
       [](rfc::RfcLibrary& l, ItabHandle t) { return l.ItGetLine(t, 0) == nullptr; },
       {}},
      {"no row past the end",
       [](rfc::RfcLibrary& l, ItabHandle t) { return l.ItGetLine(t, 1) == nullptr; },
       {}},
      {"row length 0 refused",
       [](rfc::RfcLibrary& l, ItabHandle) { return l.ItCreate("T", 0) == nullptr; },
       {}},
      {"row length 65536 refused",
       [](rfc::RfcLibrary& l, ItabHandle) { return l.ItCreate("T", 65536) == nullptr; },
       {}},
      {"empty table",
       [](rfc::RfcLibrary& l, ItabHandle t) { return l.ItFill(t) == 0 && l.ItDelete(t) == 0; },
       {}},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    adapter.library->Environment(&RecordHandlerCall);
    handled.clear();
    ItabHandle table = adapter.library->ItCreate("T", 65535);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(c.operate(*adapter.library, table)) << c.what;
    EXPECT_EQ(handled, c.handled) << c.what;
  }
}

}  // namespace
