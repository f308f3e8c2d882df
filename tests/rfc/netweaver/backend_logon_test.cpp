// Logons through the NetWeaver backend: the profile's address or a
// SapRfc.ini destination turned into NetWeaver logon parameters, the trace
// lines of the classic operations, and every refusal left in the trace file.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/file_names.h"
#include "tests/rfc/netweaver/backend_fixture.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kSapRfcIni =
    "* destinations of the lab\r\n"
    "DEST=PRD\r\n"
    "TYPE=A\r\n"
    " ashost = sapprd01 \r\n"
    "SYSNR=0\r\n"
    "\r\n"
    "DEST=R2\r\n"
    "GWHOST=r2gate\r\n"
    "GWSERV=sapgw42\r\n";

rfc::AddressLogon Address(std::string system_number, std::string host = "sapprd01",
                          std::string mode = "") {
  rfc::AddressLogon logon = BackendFixture::Address();
  logon.user = "MONITOR   ";
  logon.password = "se cret  ";
  logon.system_number = std::move(system_number);
  logon.host = std::move(host);
  logon.mode = std::move(mode);
  logon.gateway_host = "sapprd01";
  logon.gateway_service = "sapgw00";
  return logon;
}

rfc::DestinationLogon Destination(std::string destination, std::string user = "MONITOR",
                                  std::string password = "secret") {
  return {.client = "100",
          .user = std::move(user),
          .password = std::move(password),
          .destination = std::move(destination)};
}

Pairs ByAddress(std::string sysnr, bool with_host = true) {
  Pairs pairs = {{"sysnr", std::move(sysnr)},
                 {"client", "100"},
                 {"user", "MONITOR"},
                 {"passwd", "se cret"},
                 {"lang", "E"}};
  if (with_host) pairs.insert(pairs.begin(), {"ashost", "sapprd01"});
  return pairs;
}

const Pairs kThroughSapRfcIni = {{"ashost", "sapprd01"}, {"sysnr", "00"},      {"client", "100"},
                                 {"user", "MONITOR"},    {"passwd", "secret"}, {"lang", "D"}};

TEST(NetWeaverLogon, ParametersHandedOverOrLogonRefused) {
  struct Case {
    const char* what;
    rfc::Logon logon;
    std::optional<::nw::RFC_ERROR_INFO> partner_refuses;
    Pairs handed_over;   // empty: refused before the library is asked
    std::string traced;  // the trace block's message; empty: connected
  };
  const ::nw::RFC_ERROR_INFO wrong_password =
      fake_nw::Error(::nw::RFC_LOGON_FAILURE, ::nw::LOGON_FAILURE, u"RFC_LOGON_FAILURE",
                     u"Name or password is incorrect (repeat logon)");
  const std::vector<Case> cases = {
      {"application server", Address("5"), std::nullopt, ByAddress("05"), ""},
      {"system number as atoi reads it", Address(" 7x"), std::nullopt, ByAddress("07"), ""},
      {"blank system number", Address("  "), std::nullopt, ByAddress("00"), ""},
      {"no host: none handed over", Address("00", ""), std::nullopt, ByAddress("00", false), ""},
      {"only R/2 exactly is the gateway mode", Address("00", "sapprd01", "r/2"), std::nullopt,
       ByAddress("00"), ""},
      {"R/2",
       Address("00", "sapprd01", "R/2"),
       std::nullopt,
       {},
       "mode 1 (R/2, gateway only) has no counterpart in the NetWeaver RFC library"},
      {"system number beyond 99",
       Address("100"),
       std::nullopt,
       {},
       "system number 100 is not 0 to 99"},
      {"negative system number",
       Address("-1"),
       std::nullopt,
       {},
       "system number -1 is not 0 to 99"},
      {"system number beyond int",
       Address("99999999999"),
       std::nullopt,
       {},
       "system number 2147483647 is not 0 to 99"},
      {"refused by the partner", Address("5"), wrong_password, ByAddress("05"),
       "Name or password is incorrect (repeat logon)"},
      {"destination in SapRfc.ini", Destination("PRD"), std::nullopt, kThroughSapRfcIni, ""},
      {"destination missing",
       Destination("QAS"),
       std::nullopt,
       {},
       "destination 'QAS' not found in SapRfc.ini"},
      {"gateway-only destination",
       Destination("R2"),
       std::nullopt,
       {},
       "destination 'R2' in SapRfc.ini: no ASHOST, gateway-only (R/2) logon not supported"},
      // The texts travel as one blank-separated connection text: a blank
      // within a value starts a word of its own...
      {"user with a blank before a key",
       Destination("PRD", "A B=C"),
       std::nullopt,
       {},
       "invalid connection text: unknown key 'B'"},
      {"user carrying an address",
       Destination("PRD", "MONITOR ASHOST=h1"),
       std::nullopt,
       {{"ashost", "h1"},
        {"sysnr", "00"},
        {"client", "100"},
        {"user", "MONITOR"},
        {"passwd", "secret"},
        {"lang", "D"}},
       ""},
      // ...but the password is no word of it: it goes whole, whatever it
      // holds, and no word sets it.
      {"password with blanks and equals signs",
       Destination("PRD", "MONITOR", " two words=3 ASHOST=h1 "),
       std::nullopt,
       {{"ashost", "sapprd01"},
        {"sysnr", "00"},
        {"client", "100"},
        {"user", "MONITOR"},
        {"passwd", " two words=3 ASHOST=h1"},
        {"lang", "D"}},
       ""},
      {"user naming a password", Destination("PRD", "MONITOR PASSWD=other"), std::nullopt,
       kThroughSapRfcIni, ""},
      {"destination refused by the partner", Destination("PRD"), wrong_password, kThroughSapRfcIni,
       "Name or password is incorrect (repeat logon)"},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    WriteFile(config::file_names::kSapRfcIni, kSapRfcIni);
    fake_nw::ThePartner().logon_error = c.partner_refuses;
    const bool by_address = std::holds_alternative<rfc::AddressLogon>(c.logon);

    std::unique_ptr<rfc::SapConnection> connection = backend.library->Open(c.logon, backend.trace);

    const Pairs handed_over =
        fake_nw::ThePartner().logons.empty() ? Pairs{} : fake_nw::ThePartner().logons.back();
    EXPECT_EQ(handed_over, c.handed_over) << c.what;
    EXPECT_EQ(connection != nullptr, c.traced.empty()) << c.what;
    EXPECT_EQ(backend.trace_lines, std::string(c.traced.empty() ? "1" : "0") +
                                       (by_address ? " RfcOpen called \n" : " RfcOpenEx called \n"))
        << c.what;
    if (c.traced.empty()) {
      EXPECT_FALSE(std::filesystem::exists(std::string(config::file_names::kTraceFile))) << c.what;
      continue;
    }
    const std::string trace = BackendFixture::TraceFile();
    EXPECT_NE(trace.find("\nERROR       " + c.traced + "\n"), std::string::npos) << c.what;
    EXPECT_NE(trace.find(by_address ? "\nDETAIL      RfcOpen\n" : "\nDETAIL      RfcOpenEx\n"),
              std::string::npos)
        << c.what;
  }
}

// Connections count 1, 2, 3... as they open; a refused logon shows as 0
// and takes no number. Each closes when it goes; blocks count on.
TEST(NetWeaverLogon, ConnectionsNumberedAndClosed) {
  BackendFixture backend;
  std::unique_ptr<rfc::SapConnection> first = backend.Connect();
  std::unique_ptr<rfc::SapConnection> refused =
      backend.library->Open(Address("00", "sapprd01", "R/2"), backend.trace);
  fake_nw::ThePartner().logon_error =
      fake_nw::Error(::nw::RFC_COMMUNICATION_FAILURE, ::nw::COMMUNICATION_FAILURE,
                     u"RFC_COMMUNICATION_FAILURE", u"partner not reached");
  std::unique_ptr<rfc::SapConnection> unreached = backend.Connect();
  fake_nw::ThePartner().logon_error.reset();
  std::unique_ptr<rfc::SapConnection> second = backend.Connect();
  std::unique_ptr<rfc::SapConnection> untraced = backend.library->Open(Address("00"), {});

  EXPECT_EQ(backend.trace_lines,
            "1 RfcOpen called \n0 RfcOpen called \n0 RfcOpen called \n2 RfcOpen called \n");
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(unreached, nullptr);
  EXPECT_EQ(fake_nw::ThePartner().open_connections, 3);
  first.reset();
  second.reset();
  untraced.reset();
  EXPECT_EQ(fake_nw::ThePartner().open_connections, 0);
  const std::string trace = BackendFixture::TraceFile();
  EXPECT_NE(trace.find("\nCOUNTER     1\n\n**** ERROR "), std::string::npos) << trace;
  EXPECT_NE(trace.find("\nERROR       partner not reached\n"), std::string::npos) << trace;
  EXPECT_TRUE(trace.ends_with("\nCOUNTER     2\n\n")) << trace;
}

}  // namespace
