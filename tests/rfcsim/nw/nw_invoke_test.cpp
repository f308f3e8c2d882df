// RfcInvoke of each module, read back through the getters; packed sizes,
// texts beyond ISO 8859-1, faults and delays.
#include <chrono>

#include "tests/rfcsim/nw/nw_fixture.h"

namespace rfcsim::nw::testing {
namespace {

constexpr const char* kAnswers = R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
  "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
  "functions": {
    "GET_CPU_ALL": {"importing": {"OP_SYSTEM": "Linux ✓", "INTERVAL": 60},
                    "tables": {"TF_CPU_ALL": [{"TYPE": 1, "SERIALNR": -2, "NBR_CPU": 8}]}},
    "RFC_SYSTEM_INFO": {"importing": {"RFCSI_EXPORT": {"RFCDBSYS": "ADABAS Δ"}}},
    "ADA_DB_FILLING": {"tables": {
      "DEVSP_HIST": [{"NAME": "h", "DATUM": "20240501", "PUSED": 7}],
      "DEVSTAT": [
        {"NAME": "Ωmega €𝄞 ß", "CONF_SIZE": 0, "PAGESx": 37},
        {"CONF_SIZE": -1},
        {"CONF_SIZE": 2147483647},
        {"CONF_SIZE": 2147483648},
        {"CONF_SIZE": -2147483649},
        {"CONF_SIZE": 4294967295},
        {"CONF_SIZE": "123456789012345678901D"},
        {"CONF_SIZE": {"hex": "99 99 99 99 99 99 99 99 99 99 9C"}},
        {"CONF_SIZE": "000000000000000000001F"},
        {"CONF_SIZE": "000000000000000000000D"},
        {"CONF_SIZE": "123AF400000000000000BE"},
        {"PAGESx": 1}
      ]}}
  }}]})";

std::u16string Chars(DATA_CONTAINER_HANDLE container, const std::string& name, unsigned length) {
  std::u16string buffer(length + 1, u'#');  // the last unit stays: no terminator is written
  RFC_ERROR_INFO error{};
  EXPECT_EQ(RfcGetChars(container, U(name).c_str(), buffer.data(), length, &error), RFC_OK)
      << name << ": " << MessageOf(error);
  EXPECT_EQ(buffer.back(), u'#');
  buffer.pop_back();
  return buffer;
}

std::u16string Padded(std::u16string text, std::size_t length) {
  text.resize(length, u' ');
  return text;
}

TEST_F(NwTest, ReadsEachModulesAnswer) {
  UseLandscape(kAnswers);
  RFC_FUNCTION_HANDLE cpu = InvokeOnServer("GET_CPU_ALL");
  RFC_INT interval = 0;
  EXPECT_EQ(RfcGetInt(cpu, U("INTERVAL").c_str(), &interval, nullptr), RFC_OK);
  EXPECT_EQ(interval, 60);
  EXPECT_EQ(Chars(cpu, "OP_SYSTEM", 52), Padded(u"Linux ✓", 52));
  RFC_STRUCTURE_HANDLE cpu_row = Row(cpu, "TF_CPU_ALL", 0);
  RFC_INT2 serial = 0;
  EXPECT_EQ(RfcGetInt2(cpu_row, U("SERIALNR").c_str(), &serial, nullptr), RFC_OK);
  EXPECT_EQ(serial, -2);
  RFC_INT1 cpus = 0;
  EXPECT_EQ(RfcGetInt1(cpu_row, U("NBR_CPU").c_str(), &cpus, nullptr), RFC_OK);
  EXPECT_EQ(cpus, 8);
  RFC_ERROR_INFO error{};
  EXPECT_EQ(RfcGetInt1(cpu_row, U("SERIALNR").c_str(), &cpus, &error), RFC_CONVERSION_FAILURE);

  RFC_FUNCTION_HANDLE info = InvokeOnServer("RFC_SYSTEM_INFO");
  RFC_STRUCTURE_HANDLE rfcsi = nullptr;
  ASSERT_EQ(RfcGetStructure(info, U("RFCSI_EXPORT").c_str(), &rfcsi, nullptr), RFC_OK);
  EXPECT_EQ(Chars(rfcsi, "RFCDBSYS", 10), u"ADABAS Δ  ");
  // A longer buffer is blank-padded, a shorter one refused.
  EXPECT_EQ(Chars(rfcsi, "RFCSYSID", 12), u"PRD         ");
  SAP_UC short_buffer[4];
  EXPECT_EQ(RfcGetChars(rfcsi, U("RFCSYSID").c_str(), short_buffer, 4, &error),
            RFC_BUFFER_TOO_SMALL);

  RFC_FUNCTION_HANDLE filling = InvokeOnServer("ADA_DB_FILLING");
  RFC_TABLE_HANDLE devstat = nullptr;
  ASSERT_EQ(RfcGetTable(filling, U("DEVSTAT").c_str(), &devstat, nullptr), RFC_OK);
  unsigned rows = 0;
  EXPECT_EQ(RfcGetRowCount(devstat, &rows, nullptr), RFC_OK);
  EXPECT_EQ(rows, 12u);
  EXPECT_EQ(RfcMoveTo(devstat, rows, &error), RFC_TABLE_MOVE_EOF);
  RFC_INT pages = 0;
  ASSERT_EQ(RfcMoveTo(devstat, 0, nullptr), RFC_OK);
  // The table handle reads its current row.
  EXPECT_EQ(RfcGetInt(devstat, U("PAGESx").c_str(), &pages, nullptr), RFC_OK);
  EXPECT_EQ(pages, 37);
  // A text beyond ISO 8859-1 arrives as its UTF-16, a surrogate pair too.
  EXPECT_EQ(Chars(devstat, "NAME", 70), Padded(u"Ωmega €𝄞 ß", 70));
  RFC_STRUCTURE_HANDLE hist = Row(filling, "DEVSP_HIST", 0);
  EXPECT_EQ(Chars(hist, "DATUM", 8), u"20240501");
}

TEST_F(NwTest, PackedSizesReadAsTheirDecimalText) {
  UseLandscape(kAnswers);
  RFC_FUNCTION_HANDLE filling = InvokeOnServer("ADA_DB_FILLING");
  const char16_t* const expected[] = {u"0",
                                      u"-1",
                                      u"2147483647",
                                      u"2147483648",
                                      u"-2147483649",
                                      u"4294967295",
                                      u"-123456789012345678901",
                                      u"999999999999999999999",
                                      u"1",
                                      u"0"};
  for (unsigned row = 0; row < std::size(expected); ++row) {
    EXPECT_EQ(String(Row(filling, "DEVSTAT", row), "CONF_SIZE"), expected[row]) << "row " << row;
  }
  // Too small for text and terminator: the length needed, and the error.
  SAP_UC buffer[10];
  unsigned length = 0;
  RFC_ERROR_INFO error{};
  EXPECT_EQ(
      RfcGetString(Row(filling, "DEVSTAT", 3), U("CONF_SIZE").c_str(), buffer, 10, &length, &error),
      RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(length, 10u);
  // Bytes that are no packed number have no text, but RfcGetBytes hands
  // them out as they are, zero bytes where the row leaves the field out.
  EXPECT_EQ(RfcGetString(Row(filling, "DEVSTAT", 10), U("CONF_SIZE").c_str(), buffer, 10, &length,
                         &error),
            RFC_CONVERSION_FAILURE);
  const std::pair<unsigned, Bytes> binary[] = {
      {10, {0x12, 0x3A, 0xF4, 0, 0, 0, 0, 0, 0, 0, 0xBE, 0}},
      {11, Bytes(12, 0)},
  };
  for (const auto& [row, expected_bytes] : binary) {
    Bytes bytes(12, 0xEE);
    EXPECT_EQ(
        RfcGetBytes(Row(filling, "DEVSTAT", row), U("CONF_SIZE").c_str(), bytes.data(), 12, &error),
        RFC_OK)
        << "row " << row;
    EXPECT_EQ(bytes, expected_bytes) << "row " << row;
  }
  // An integer field reads as its decimal text too.
  EXPECT_EQ(String(Row(filling, "DEVSP_HIST", 0), "PUSED"), u"7");
}

struct InvokeFaultCase {
  const char* name;
  const char* fault;
  RFC_RC expected;
  RFC_ERROR_GROUP group;
  const char* key;
  // The error message: the fault's, or what its own trace lines tell a
  // reader of the trace file (their last "ERROR" line; nothing without one).
  const char* message = "simulated";
};

class NwInvokeFaultTest : public NwTest, public ::testing::WithParamInterface<InvokeFaultCase> {};

TEST_P(NwInvokeFaultTest, MapsTheFault) {
  const InvokeFaultCase& fault = GetParam();
  UseLandscape(std::string(R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
    "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
    "faults": [)") +
               fault.fault + "]}]}");
  RFC_FUNCTION_HANDLE function = InvokeOnServer("GET_CPU_ALL", fault.expected);
  EXPECT_EQ(last_error_.code, fault.expected);
  EXPECT_EQ(last_error_.group, fault.group);
  EXPECT_EQ(KeyOf(last_error_), fault.key);
  if (fault.expected == RFC_OK) {
    EXPECT_EQ(String(Row(function, "TF_CPU_ALL", 0), "NBR_CPU"), u"4");
  } else {
    EXPECT_EQ(MessageOf(last_error_), fault.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NwInvokeFaultTest,
    ::testing::Values(
        InvokeFaultCase{
            "call_network", R"({"operation": "RfcCall GET_CPU_ALL", "message": "simulated"})",
            RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_ERROR_SYSTEM_FAILURE"},
        InvokeFaultCase{"receive_network",
                        R"({"operation": "RfcReceive", "message": "simulated",
                            "last_error": {"key": "RFC_ERROR_COMMUNICATION"}})",
                        RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                        "RFC_ERROR_COMMUNICATION"},
        InvokeFaultCase{"call_exception",
                        R"({"operation": "RfcCall GET_CPU_ALL", "result": 2,
                            "exception": "NO_DATA", "message": "simulated"})",
                        RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, "NO_DATA"},
        InvokeFaultCase{"receive_exception",
                        R"({"operation": "RfcReceive GET_CPU_ALL", "result": 2,
                            "exception": "NOT_ACTIVE", "message": "simulated"})",
                        RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, "NOT_ACTIVE"},
        InvokeFaultCase{"receive_default_exception",
                        R"({"operation": "RfcReceive", "result": 2, "message": "simulated"})",
                        RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, "EXCEPTION_RAISED"},
        InvokeFaultCase{"system_failure",
                        R"({"operation": "RfcReceive GET_CPU_ALL", "result": 3,
                            "message": "simulated"})",
                        RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE, "SYSTEM_FAILURE"},
        InvokeFaultCase{"traced_message",
                        R"({"operation": "RfcReceive GET_CPU_ALL", "message": "simulated",
                            "trace": ["**** ERROR file opened at 20261208 061500, rfcsim",
                                      "ERROR       connection to partner 'sapbrk01:sapgw00' broken",
                                      "TIME        Tue Dec 08 06:15:00 2026"]})",
                        RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                        "RFC_ERROR_SYSTEM_FAILURE",
                        "connection to partner 'sapbrk01:sapgw00' broken"},
        InvokeFaultCase{"trace_without_message",
                        R"({"operation": "RfcCall GET_CPU_ALL", "message": "simulated",
                            "trace": []})",
                        RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                        "RFC_ERROR_SYSTEM_FAILURE", ""},
        // Classic-only operations: the NetWeaver caller never makes them.
        InvokeFaultCase{"item_create", R"({"operation": "ItCreate TF_CPU_ALL"})", RFC_OK, OK, ""},
        InvokeFaultCase{"item_line", R"({"operation": "ItGetLine"})", RFC_OK, OK, ""},
        InvokeFaultCase{"install", R"({"operation": "RfcInstallStructure"})", RFC_OK, OK, ""}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(NwTest, InvokeRefusesStaleHandles) {
  UseLandscape(kTwoSystems);
  RFC_CONNECTION_HANDLE connection = OpenServer();
  RFC_FUNCTION_HANDLE function = CreateFunction(connection, "GET_CPU_ALL");
  RFC_ERROR_INFO error{};
  ASSERT_EQ(RfcCloseConnection(connection, &error), RFC_OK);
  EXPECT_EQ(RfcInvoke(connection, function, &error), RFC_INVALID_HANDLE);
  RFC_TABLE_HANDLE table = nullptr;
  ASSERT_EQ(RfcGetTable(function, U("TF_CPU_ALL").c_str(), &table, nullptr), RFC_OK);
  EXPECT_EQ(RfcInvoke(OpenServer(), table, &error), RFC_INVALID_HANDLE);
  // The import parameters go out; a value longer than the field does not.
  EXPECT_EQ(RfcSetChars(function, U("LOCAL_REMOTE").c_str(), u"LOCAL", 5, &error), RFC_OK);
  EXPECT_EQ(RfcSetChars(function, U("LOCAL_REMOTE").c_str(), u"LOCALXX", 7, &error),
            RFC_INVALID_PARAMETER);
}

// An RfcOpenEx delay holds up RfcOpenConnection, an RfcReceive delay
// RfcInvoke, whose fault still applies after the wait.
TEST_F(NwTest, DelaysHoldUpTheLogonAndTheInvoke) {
  UseLandscape(R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
    "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
    "delays": [{"operation": "RfcOpenEx", "seconds": 0.2},
               {"operation": "RfcReceive GET_CPU_ALL", "seconds": 0.2}],
    "faults": [{"operation": "RfcReceive GET_CPU_ALL", "result": 2, "exception": "NOT_ACTIVE"}]}]})");
  const auto since = [](std::chrono::steady_clock::time_point start) {
    return std::chrono::steady_clock::now() - start;
  };
  auto start = std::chrono::steady_clock::now();
  RFC_CONNECTION_HANDLE connection = OpenServer();
  EXPECT_GE(since(start), std::chrono::milliseconds(200));
  RFC_FUNCTION_HANDLE function = CreateFunction(connection, "GET_CPU_ALL");
  RFC_ERROR_INFO error{};
  start = std::chrono::steady_clock::now();
  EXPECT_EQ(RfcInvoke(connection, function, &error), RFC_ABAP_EXCEPTION);
  EXPECT_GE(since(start), std::chrono::milliseconds(200));
  EXPECT_EQ(KeyOf(error), "NOT_ACTIVE");
}

}  // namespace
}  // namespace rfcsim::nw::testing

namespace rfcsim::nw::testing {
namespace {

// Texts beyond ISO 8859-1 are the freedom of function answers only; in a
// name or an account they still empty the landscape, as for the classic
// stand-in.
TEST(NwLandscape, AcceptsWideTextsInAnswersOnly) {
  EXPECT_EQ(ParseNwLandscape(R"({"systems": [{"name": "PRD", "ashost": "h",
      "functions": {"GET_CPU_ALL": {"importing": {"OP_SYSTEM": "Linux ✓"}}}}]})",
                             "t")
                .problem,
            "");
  EXPECT_NE(ParseNwLandscape(R"({"systems": [{"name": "PRD", "ashost": "h",
      "accounts": [{"client": "100", "user": "M✓", "password": "p"}]}]})",
                             "t")
                .problem,
            "");
}

}  // namespace
}  // namespace rfcsim::nw::testing
