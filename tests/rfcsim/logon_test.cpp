// Reaching systems and logging on: RfcOpen with either address record,
// RfcOpenEx with a connection text and SapRfc.ini.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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
    RFC_ERROR_INFO info{};
    engine_->LastError(&info);
    return info.message;
  }

  std::string LastErrorKey() {
    RFC_ERROR_INFO info{};
    engine_->LastError(&info);
    return info.key;
  }
};

// How many bytes of `record` still hold `fill`.
template <typename Record>
std::size_t BytesHolding(const Record& record, unsigned char fill) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
  return static_cast<std::size_t>(std::count(bytes, bytes + sizeof record, fill));
}

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
    const RFC_HANDLE handle = OpenServer(c.host, c.sysnr, c.user, c.password, c.client);
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
    RFC_CONNOPT_CPIC gateway{c.host, c.service};
    RFC_OPTIONS options{"R2", RFC_MODE_CPIC, &gateway, "100", "MONITOR     ", "secret    ", "E", 0};
    const RFC_HANDLE handle = engine_->Open(&options);
    EXPECT_EQ(handle == 0, !c.refusal.empty()) << c.host;
    if (!c.refusal.empty()) {
      EXPECT_EQ(LastErrorMessage(), c.refusal) << c.host;
    }
  }

  RFC_CONNOPT_CPIC gateway{"r2gate", "sapgw42"};
  EXPECT_EQ(engine_->Open(nullptr), 0u);
  EXPECT_EQ(LastErrorMessage(), "no open options");
  RFC_OPTIONS unknown_mode{
      "R2", static_cast<RFC_MODE>(2), &gateway, "100", "MONITOR", "secret", "E", 0};
  EXPECT_EQ(engine_->Open(&unknown_mode), 0u);
  EXPECT_EQ(LastErrorMessage(), "unknown connection mode 2");
}

TEST_F(RfcsimLogon, EachLogonGetsItsOwnSmallHandle) {
  const RFC_HANDLE first = OpenServer("sapprd01", 0);
  const RFC_HANDLE second = OpenServer("sapprd01", 0);
  EXPECT_GT(first, 0u);
  EXPECT_LT(first, 100u);
  EXPECT_NE(first, second);
  engine_->Close(first);
  engine_->Close(first);  // twice, and unknown or null handles: harmless
  engine_->Close(0);
  engine_->Close(4711);
  EXPECT_NE(OpenServer("sapprd01", 0), first);  // handles are not reused
}

// A refused RfcOpenEx writes every byte of SAP's 552-byte RFC_ERROR_INFO_EX
// (so that a caller handing the 545-byte RFC_ERROR_INFO is caught by the
// sanitizers), with the error group that the key names; a logon that
// succeeds leaves the record alone.
TEST_F(RfcsimLogon, OpenExFindsTheDestinationInSapRfcIni) {
  const std::string ini =
      "DEST=PRD\r\nTYPE=A\r\nASHOST=SAPPRD01\r\nSYSNR=00\r\n"
      "DEST=R2\r\nGWHOST=r2gate\r\nGWSERV=sapgw42\r\n"
      "DEST=BAD\r\nTYPE=A\r\n"
      "DEST=QAS\r\nASHOST=sapqas\r\nSYSNR=x1\r\n";
  const std::string long_name(600, 'D');
  const struct {
    std::string ini;  // "-" for no file at all
    std::string text;
    std::string refusal;  // empty: logged on
    RFC_ERROR_GROUP group;
  } cases[] = {
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD", "", {}},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=R2", "", {}},
      {"-", "CLIENT=100 USER=MONITOR PASSWD=secret ASHOST=sapprd01 SYSNR=00", "", {}},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=Secret LANG=D DEST=PRD",
       "Name or password is incorrect (repeat logon)", RFC_ERROR_LOGON_FAILURE},
      {"-", "CLIENT=100 USER=MONITOR PASSWD=secret ASHOST=sapprd02 SYSNR=00",
       "partner 'sapprd02:sapgw00' not reached", RFC_ERROR_COMMUNICATION},
      {"", "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
       "destination 'PRD' not found in " + IniPath(), RFC_ERROR_PROGRAM},
      {"-", "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
       "destination 'PRD' not found in " + IniPath(), RFC_ERROR_PROGRAM},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=BAD",
       "neither ASHOST nor GWHOST in destination 'BAD'", RFC_ERROR_PROGRAM},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=QAS",
       "SYSNR 'x1' in destination 'QAS' is not a system number", RFC_ERROR_PROGRAM},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=se cret LANG=D DEST=PRD",
       "invalid connection text: 'cret' is not KEY=VALUE", RFC_ERROR_PROGRAM},
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D",
       "invalid connection text: no DEST, ASHOST or GWHOST", RFC_ERROR_PROGRAM},
      // A message longer than its field is cut to 512 characters.
      {ini, "CLIENT=100 USER=MONITOR PASSWD=secret DEST=" + long_name,
       "destination '" + long_name + "' not found in " + IniPath(), RFC_ERROR_PROGRAM},
  };
  constexpr unsigned char kFill = 0xA5;  // in none of the texts
  for (const auto& c : cases) {
    std::remove(IniPath().c_str());
    if (c.ini != "-") WriteText(IniPath(), c.ini);
    RFC_ERROR_INFO_EX info;
    std::memset(&info, kFill, sizeof info);
    const RFC_HANDLE handle = engine_->OpenEx(c.text.c_str(), &info);
    if (c.refusal.empty()) {
      EXPECT_NE(handle, 0u) << c.text;
      EXPECT_EQ(BytesHolding(info, kFill), sizeof info) << c.text;
      continue;
    }
    EXPECT_EQ(handle, 0u) << c.text;
    EXPECT_EQ(BytesHolding(info, kFill), 0u) << c.text;
    EXPECT_EQ(info.group, c.group) << c.text;
    EXPECT_EQ(std::string(info.key), LastErrorKey()) << c.text;
    EXPECT_EQ(std::string(info.message), c.refusal.substr(0, 512)) << c.text;
    EXPECT_EQ(LastTraceMessage(), c.refusal) << c.text;
  }
  EXPECT_EQ(engine_->OpenEx(nullptr, nullptr), 0u);
  EXPECT_EQ(LastErrorMessage(), "no connection text");
}

}  // namespace
}  // namespace rfcsim::testing
