// Logons through the NetWeaver adapter: the classic logon record and
// connection text (with SapRfc.ini) turned into NetWeaver logon parameters,
// and every refusal reported as the classic library reported it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/file_names.h"
#include "output/texts.h"
#include "tests/rfc/netweaver/adapter_fixture.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

int handler_calls = 0;
extern "C" void BW_RFC_CALL CountHandlerCall(char*) { ++handler_calls; }

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

TEST(NetWeaverLogon, ClassicLogonsBecomeNetWeaverParameters) {
  struct Case {
    const char* what;
    std::optional<int> mode;  // RfcOpen with this mode; RfcOpenEx without
    const char* text;
    std::optional<::nw::RFC_ERROR_INFO> partner_refuses;
    Pairs handed_over;      // empty: the adapter refuses before the library
    std::string diagnosis;  // empty: success
    int open_error_group;   // RfcOpenEx's record
  };
  const Pairs prd = {{"ashost", "sapprd01"}, {"sysnr", "00"},      {"client", "100"},
                     {"user", "MONITOR"},    {"passwd", "secret"}, {"lang", "D"}};
  // What RfcOpen's application-server record becomes.
  const Pairs by_options = {{"ashost", "sapprd01"}, {"sysnr", "05"},       {"client", "100"},
                            {"user", "MONITOR"},    {"passwd", "se cret"}, {"lang", "E"}};
  const std::vector<Case> cases = {
      {"RfcOpen, application server", 0, nullptr, std::nullopt, by_options, "", 0},
      {"RfcOpen, R/2 gateway",
       1,
       nullptr,
       std::nullopt,
       {},
       " - mode 1 (R/2, gateway only) has no counterpart in the NetWeaver RFC library",
       0},
      {"RfcOpenEx through SapRfc.ini", std::nullopt,
       "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD", std::nullopt, prd, "", 0},
      {"keys in any case, blanks between words", std::nullopt,
       "client=100  User=MONITOR passwd=secret lang=D dest=PRD ", std::nullopt, prd, "", 0},
      {"address in the text",
       std::nullopt,
       "ASHOST=h1 SYSNR=7 GWHOST=g1 GWSERV=sapgw07 CLIENT=1 USER=u PASSWD=p LANG=E",
       std::nullopt,
       {{"ashost", "h1"},
        {"sysnr", "07"},
        {"gwhost", "g1"},
        {"gwserv", "sapgw07"},
        {"client", "1"},
        {"user", "u"},
        {"passwd", "p"},
        {"lang", "E"}},
       "",
       0},
      {"destination missing",
       std::nullopt,
       "CLIENT=100 USER=M PASSWD=p LANG=D DEST=QAS",
       std::nullopt,
       {},
       " - destination 'QAS' not found in SapRfc.ini",
       101},
      {"gateway-only destination",
       std::nullopt,
       "CLIENT=100 USER=M PASSWD=p LANG=D DEST=R2",
       std::nullopt,
       {},
       " - destination 'R2' in SapRfc.ini: no ASHOST, gateway-only (R/2) logon not supported",
       101},
      {"unknown key",
       std::nullopt,
       "CLIENT=100 COLOUR=red DEST=PRD",
       std::nullopt,
       {},
       " - invalid connection text: unknown key 'COLOUR'",
       101},
      {"word without =",
       std::nullopt,
       "CLIENT=100 PASSWD=two words DEST=PRD",
       std::nullopt,
       {},
       " - invalid connection text: word 3 is no KEY=VALUE",
       101},
      {"logon refused by the partner", std::nullopt,
       "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
       fake_nw::Error(::nw::RFC_LOGON_FAILURE, ::nw::LOGON_FAILURE, u"RFC_LOGON_FAILURE",
                      u"Name or password is incorrect (repeat logon)"),
       prd, " - Name or password is incorrect (repeat logon)", 103},
      {"partner not reached", 0, nullptr,
       fake_nw::Error(::nw::RFC_COMMUNICATION_FAILURE, ::nw::COMMUNICATION_FAILURE,
                      u"RFC_COMMUNICATION_FAILURE", u"partner 'sapprd01:3305' not reached"),
       by_options, " - partner 'sapprd01:3305' not reached", 0},
  };
  for (const Case& c : cases) {
    AdapterFixture adapter;
    WriteFile(config::file_names::kSapRfcIni, kSapRfcIni);
    fake_nw::ThePartner().logon_error = c.partner_refuses;
    handler_calls = 0;
    adapter.library->Environment(&CountHandlerCall);

    RfcHandle handle = 0;
    RfcErrorInfoEx record{};
    record.group = -1;
    if (c.mode) {
      ServerAddress server{"sapprd01", 5, "gw", "sapgw05"};
      GatewayAddress gateway{"r2gate", "sapgw42"};
      OpenOptions options{"PRD", *c.mode, nullptr, "100", "MONITOR     ", "se cret   ", "E", 0};
      options.connection = *c.mode == 0 ? static_cast<void*>(&server) : &gateway;
      handle = adapter.library->Open(&options);
    } else {
      handle = adapter.library->OpenEx(c.text, &record);
    }

    const Pairs handed_over =
        fake_nw::ThePartner().logons.empty() ? Pairs{} : fake_nw::ThePartner().logons.back();
    EXPECT_EQ(handed_over, c.handed_over) << c.what;
    EXPECT_EQ(handle != 0, c.diagnosis.empty()) << c.what;
    EXPECT_EQ(handler_calls, 0) << c.what << ": a failed logon is no handler's business";
    if (c.diagnosis.empty()) {
      EXPECT_FALSE(std::filesystem::exists(std::string(config::file_names::kTraceFile))) << c.what;
      adapter.library->Close(handle);
      EXPECT_EQ(fake_nw::ThePartner().open_connections, 0) << c.what;
      continue;
    }
    EXPECT_EQ(AdapterFixture::TraceDiagnosis(), c.diagnosis) << c.what;
    RfcErrorInfo last{};
    adapter.library->LastError(&last);
    EXPECT_EQ(" - " + std::string(last.message), c.diagnosis) << c.what;
    if (!c.mode) {
      EXPECT_EQ(record.group, c.open_error_group) << c.what;
      EXPECT_EQ(" - " + std::string(record.message), c.diagnosis.substr(0, 3 + 512)) << c.what;
    }
  }
}

}  // namespace
