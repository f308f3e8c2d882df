// Reaching systems and logging on: RfcOpen with either address record,
// RfcOpenEx with a connection text and SapRfc.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/rfcsim/engine_fixture.h"

namespace rfcsim::testing {
namespace {

class RfcsimLogon : public EngineTest {
 protected:
  void SetUp() override { UseLandscape(kTwoSystems); }

  // The message of the last "ERROR" line in the trace file, read as the
  // sensor reads it: from the 13th character on.
  std::string LastTraceMessage() const {
    std::string message;
    for (const std::string& line : ReadLines(TracePath())) {
      if (line.rfind("**** ERROR ", 0) == 0) message.clear();
      if (line.rfind("ERROR ", 0) == 0) message = line.substr(12);
    }
    return message;
  }

  std::string LastErrorMessage() {
    RfcErrorInfo info{};
    engine_->LastError(&info);
    return info.message;
  }
};

TEST_F(RfcsimLogon, ApplicationServerLogons) {
  const struct {
    const char* host;
    int sysnr;
    const char* client;
    const char* user;
    const char* password;
    std::string refusal;  // empty: logged on
  } cases[] = {
      {"sapprd01", 0, "100", "MONITOR     ", "secret    ", ""},
      {"SapPrd01", 0, "100 ", "monitor", "secret", ""},
      {"sapprd01", 0, "100", "MONITOR", "SECRET", "Name or password is incorrect (repeat logon)"},
      {"sapprd01", 0, "100", "MONITOR", " secret", "Name or password is incorrect (repeat logon)"},
      {"sapprd01", 0, "100", " MONITOR", "secret", "Name or password is incorrect (repeat logon)"},
      {"sapprd01", 0, "100", nullptr, nullptr, "Name or password is incorrect (repeat logon)"},
      {"sapprd01", 0, "200", "MONITOR", "secret", "Client 200 is not available in this system"},
      {"sapprd01", 0, nullptr, "MONITOR", "secret", "Client  is not available in this system"},
      {"sapprd01", 1, "100", "MONITOR", "secret", "partner 'sapprd01:sapgw01' not reached"},
      {"sapprd02", 0, "100", "MONITOR", "secret", "partner 'sapprd02:sapgw00' not reached"},
      {"r2gate", 42, "100", "MONITOR", "secret", "partner 'r2gate:sapgw42' not reached"},
      {nullptr, 0, "100", "MONITOR", "secret", "ASHOST missing in the connection data"},
  };
  int refusals = 0;
  for (const auto& c : cases) {
    const RfcHandle handle = OpenServer(c.host, c.sysnr, c.user, c.password, c.client);
    refusals += handle == 0;
    const std::string label =
        std::string(c.host ? c.host : "(null)") + " " + (c.user ? c.user : "(null)");
    if (c.refusal.empty()) {
      EXPECT_NE(handle, 0u) << label;
    } else {
      EXPECT_EQ(handle, 0u) << label;
      EXPECT_EQ(LastTraceMessage(), c.refusal) << label;
      EXPECT_EQ(LastErrorMessage(), c.refusal) << label;
    }
  }
  // One error block per refusal.
  const auto trace = ReadLines(TracePath());
  EXPECT_EQ(
      std::count_if(trace.begin(), trace.end(),
                    [](const std::string& line) { return line.rfind("**** ERROR ", 0) == 0; }),
      refusals);
}

TEST_F(RfcsimLogon, GatewayLogons) {
  const struct {
    const char* host;
    const char* service;
    std::string refusal;
  } cases[] = {
      {"R2GATE", "SAPGW42", ""},
      {"sapprd01", "sapgw00", ""},  // an application server's own gateway
      {"r2gate", "sapgw43", "partner 'r2gate:sapgw43' not reached"},
      {"r2gate", nullptr, "GWHOST or GWSERV missing in the connection data"},
  };
  for (const auto& c : cases) {
    GatewayAddress gateway{c.host, c.service};
    OpenOptions options{"R2", 1, &gateway, "100", "MONITOR     ", "secret    ", "E", 0};
    const RfcHandle handle = engine_->Open(&options);
    EXPECT_EQ(handle == 0, !c.refusal.empty()) << c.host;
    if (!c.refusal.empty()) {
      EXPECT_EQ(LastErrorMessage(), c.refusal) << c.host;
    }
  }

  GatewayAddress gateway{"r2gate", "sapgw42"};
  EXPECT_EQ(engine_->Open(nullptr), 0u);
  EXPECT_EQ(LastErrorMessage(), "no open options");
  OpenOptions unknown_mode{"R2", 2, &gateway, "100", "MONITOR", "secret", "E", 0};
  EXPECT_EQ(engine_->Open(&unknown_mode), 0u);
  EXPECT_EQ(LastErrorMessage(), "unknown connection mode 2");
}

TEST_F(RfcsimLogon, EachLogonGetsItsOwnSmallHandle) {
  const RfcHandle first = OpenServer("sapprd01", 0);
  const RfcHandle second = OpenServer("sapprd01", 0);
  EXPECT_GT(first, 0u);
  EXPECT_LT(first, 100u);
  EXPECT_NE(first, second);
  engine_->Close(first);
  engine_->Close(first);  // twice, and unknown or null handles: harmless
  engine_->Close(0);
  engine_->Close(4711);
  EXPECT_NE(OpenServer("sapprd01", 0), first);  // handles are not reused
}

TEST_F(RfcsimLogon, OpenExFindsTheDestinationInSapRfcIni) {
  const std::string ini =
      "DEST=PRD\r\nTYPE=A\r\nASHOST=SAPPRD01\r\nSYSNR=00\r\n"
      "DEST=R2\r\nGWHOST=r2gate\r\nGWSERV=sapgw42\r\n"
      "DEST=BAD\r\nTYPE=A\r\n"
      "DEST=QAS\r\nASHOST=sapqas\r\nSYSNR=x1\r\n";
  const struct {
    std::string ini;  // "-" for no file at all
    std::string text;
    std::string refusal;
  } cases[] = {
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD", ""},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=R2", ""},
      {"-", "CLIENT=100 USER=MONITOR PASSWD=secret ASHOST=sapprd01 SYSNR=00", ""},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=Secret LANG=D DEST=PRD",
       "Name or password is incorrect (repeat logon)"},
      {"", "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
       "destination 'PRD' not found in " + IniPath()},
      {"-", "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
       "destination 'PRD' not found in " + IniPath()},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=BAD",
       "neither ASHOST nor GWHOST in destination 'BAD'"},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=QAS",
       "SYSNR 'x1' in destination 'QAS' is not a system number"},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=se cret LANG=D DEST=PRD",
       "invalid connection text: 'cret' is not KEY=VALUE"},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D",
       "invalid connection text: no DEST, ASHOST or GWHOST"},
  };
  for (const auto& c : cases) {
    std::remove(IniPath().c_str());
    if (c.ini != "-") WriteText(IniPath(), c.ini);
    RfcErrorInfo info{};
    const RfcHandle handle = engine_->OpenEx(c.text.c_str(), &info);
    EXPECT_EQ(handle == 0, !c.refusal.empty()) << c.text;
    EXPECT_EQ(std::string(info.message), c.refusal) << c.text;
    if (!c.refusal.empty()) {
      EXPECT_EQ(LastTraceMessage(), c.refusal) << c.text;
    }
  }
  EXPECT_EQ(engine_->OpenEx(nullptr, nullptr), 0u);
  EXPECT_EQ(LastErrorMessage(), "no connection text");
}

}  // namespace
}  // namespace rfcsim::testing
