// RfcOpenConnection over the landscape's systems and logon faults.
#include "tests/rfcsim/nw/nw_fixture.h"

namespace rfcsim::nw::testing {
namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

struct LogonCase {
  const char* name;
  Parameters parameters;
  RFC_RC expected;
  RFC_ERROR_GROUP group;
  const char* message_part;  // in the error message
};

const Parameters kServer{{"ashost", "sapprd01"}, {"sysnr", "00"},      {"client", "100"},
                         {"user", "monitor"},    {"passwd", "secret"}, {"lang", "E"}};

Parameters With(Parameters parameters, const std::string& name, const std::string& value) {
  for (auto& [key, given] : parameters) {
    if (key == name) given = value;
  }
  return parameters;
}

class NwLogonTest : public NwTest, public ::testing::WithParamInterface<LogonCase> {};

TEST_P(NwLogonTest, OpensOrRefusesAsTheLandscapeSays) {
  const LogonCase& logon = GetParam();
  UseLandscape(kTwoSystems);
  RFC_ERROR_INFO error{};
  RFC_CONNECTION_HANDLE connection = Open(logon.parameters, error);
  EXPECT_EQ(error.code, logon.expected) << MessageOf(error);
  EXPECT_EQ(error.group, logon.group);
  EXPECT_NE(MessageOf(error).find(logon.message_part), std::string::npos) << MessageOf(error);
  if (logon.expected != RFC_OK) {
    EXPECT_EQ(connection, nullptr);
    return;
  }
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(RfcCloseConnection(connection, &error), RFC_OK);
  // Closed: the handle is no longer one.
  EXPECT_EQ(RfcCloseConnection(connection, &error), RFC_INVALID_HANDLE);
}

INSTANTIATE_TEST_SUITE_P(
    Logons, NwLogonTest,
    ::testing::Values(LogonCase{"server", kServer, RFC_OK, OK, ""},
                      LogonCase{"names_in_any_case",
                                {{"ASHOST", "SAPPRD01"},
                                 {"SysNr", "0"},
                                 {"CLIENT", "100"},
                                 {"USER", "MONITOR"},
                                 {"PASSWD", "secret"}},
                                RFC_OK,
                                OK,
                                ""},
                      LogonCase{"gateway",
                                {{"gwhost", "r2gate"},
                                 {"gwserv", "sapgw42"},
                                 {"client", "100"},
                                 {"user", "MONITOR"},
                                 {"passwd", "secret"}},
                                RFC_OK,
                                OK,
                                ""},
                      LogonCase{"wrong_password", With(kServer, "passwd", "Secret"),
                                RFC_LOGON_FAILURE, LOGON_FAILURE, "Name or password is incorrect"},
                      LogonCase{"unknown_client", With(kServer, "client", "200"), RFC_LOGON_FAILURE,
                                LOGON_FAILURE, "Client 200"},
                      LogonCase{"unknown_host", With(kServer, "ashost", "nowhere"),
                                RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
                                "partner 'nowhere:sapgw00' not reached"},
                      LogonCase{"bad_sysnr", With(kServer, "sysnr", "x1"), RFC_INVALID_PARAMETER,
                                EXTERNAL_RUNTIME_FAILURE, "sysnr"},
                      LogonCase{"no_partner",
                                {{"client", "100"}, {"user", "MONITOR"}},
                                RFC_INVALID_PARAMETER,
                                EXTERNAL_RUNTIME_FAILURE,
                                "ASHOST missing"}),
    [](const auto& test) { return std::string(test.param.name); });

// Logon faults fail RfcOpenConnection by their key; RfcOpenEx faults count
// too, since every NetWeaver logon is a logon of the engine.
struct LogonFaultCase {
  const char* name;
  const char* fault;
  RFC_RC expected;
  RFC_ERROR_GROUP group;
};

class NwLogonFaultTest : public NwTest, public ::testing::WithParamInterface<LogonFaultCase> {};

TEST_P(NwLogonFaultTest, FailsTheLogon) {
  UseLandscape(std::string(R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
    "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}],
    "faults": [)") +
               GetParam().fault + "]}]}");
  RFC_ERROR_INFO error{};
  EXPECT_EQ(Open(kServer, error), nullptr);
  EXPECT_EQ(error.code, GetParam().expected);
  EXPECT_EQ(error.group, GetParam().group);
  EXPECT_EQ(MessageOf(error), "gateway down");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NwLogonFaultTest,
    ::testing::Values(LogonFaultCase{"default_key",
                                     R"({"operation": "RfcOpen", "message": "gateway down"})",
                                     RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE},
                      LogonFaultCase{"logon_key",
                                     R"({"operation": "RfcOpen", "message": "gateway down",
                           "last_error": {"key": "RFC_ERROR_LOGON_FAILURE"}})",
                                     RFC_LOGON_FAILURE, LOGON_FAILURE},
                      LogonFaultCase{"open_ex",
                                     R"({"operation": "RfcOpenEx", "message": "gateway down"})",
                                     RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE}),
    [](const auto& test) { return std::string(test.param.name); });

// RFCSIM_RECORD keeps working: the engine's own lines for what the
// NetWeaver calls made of it.
TEST_F(NwTest, RecordsTheEngineOperations) {
  UseLandscape(kTwoSystems);
  InvokeOnServer("RFC_SYSTEM_INFO");
  const std::vector<std::string> ops = RecordedOps();
  EXPECT_EQ(ops.front(), "RfcOpen");
  EXPECT_NE(std::find(ops.begin(), ops.end(), "RfcCall"), ops.end());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "RfcReceive"), ops.end());
}

}  // namespace
}  // namespace rfcsim::nw::testing

namespace rfcsim::nw::testing {
namespace {

// The library takes passwords in UTF-16: an account's password beyond
// ISO 8859-1 logs on whole, and only whole. A "?" where a character was
// lost on the way, or one character in place of another, is a wrong
// password, as SAP would count it; so is an ISO 8859-1 password spelling
// out the engine's form of a wide one.
TEST_F(NwTest, PasswordBeyondIso88591OnlyWhole) {
  UseLandscape(R"({"systems": [{"name": "PRD", "ashost": "sapprd01",
      "accounts": [{"client": "100", "user": "MONITOR", "password": "Yx8 \u0141\u03a9=q7"}]}]})");
  struct Case {
    std::u16string password;
    RFC_RC expected;
  };
  const Case cases[] = {
      {u"Yx8 \u0141\u03a9=q7", RFC_OK},
      {u"Yx8 \u0141\u03a9=q7  ", RFC_OK},  // trailing blanks never count
      {u"Yx8 ?"
       u"?=q7",
       RFC_LOGON_FAILURE},
      {u"Yx8 \u0141\u03a8=q7", RFC_LOGON_FAILURE},
      {u"\u007f00590078003800200141", RFC_LOGON_FAILURE},
  };
  for (const Case& c : cases) {
    const std::u16string names[] = {u"ashost", u"sysnr", u"client", u"user", u"passwd"};
    const std::u16string values[] = {u"sapprd01", u"00", u"100", u"MONITOR", c.password};
    RFC_CONNECTION_PARAMETER parameters[5];
    for (int i = 0; i < 5; ++i) parameters[i] = {names[i].c_str(), values[i].c_str()};
    RFC_ERROR_INFO error{};
    RFC_CONNECTION_HANDLE connection = RfcOpenConnection(parameters, 5, &error);
    EXPECT_EQ(error.code, c.expected) << Narrow(c.password);
    if (connection) RfcCloseConnection(connection, &error);
  }
}

}  // namespace
}  // namespace rfcsim::nw::testing
