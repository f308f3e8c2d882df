#include "rfc/open_connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "output/texts.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace {

std::string Show(const std::optional<std::string>& text) {
  return text ? "'" + *text + "'" : "null";
}

using Fields = std::map<std::string, std::string>;

// The records RfcOpen saw, field by field, so that a mismatch names the field.
Fields Describe(const fake::OpenRecord& r) {
  return {{"dest", Show(r.destination)},
          {"mode", std::to_string(r.mode)},
          {"client", Show(r.client)},
          {"user", Show(r.user)},
          {"password", Show(r.password)},
          {"lang", Show(r.language)},
          {"trace", std::to_string(r.trace)},
          {"host", Show(r.host)},
          {"sysnr", std::to_string(r.system_number)},
          {"gwhost", Show(r.gateway_host)},
          {"gwserv", Show(r.gateway_service)}};
}

rfc::AddressLogon SampleLogon() {
  rfc::AddressLogon logon;
  logon.destination = "PRD";
  logon.client = "100";
  logon.user = "MONITOR";
  logon.password = "secret";
  logon.language = "E";
  logon.mode = "R/3";
  logon.host = "sapprd";
  logon.system_number = "00";
  logon.gateway_host = "gw1";
  logon.gateway_service = "sapgw00";
  return logon;
}

// What PrepareLogon hands the console, and its logon.
struct Prepared {
  std::string console;
  std::optional<rfc::Logon> logon;
};

Prepared Prepare(const rfc::AddressLogon& address, bool console_mode = true) {
  Prepared prepared;
  std::function<void(std::string_view)> console;
  if (console_mode) console = [&prepared](std::string_view line) { prepared.console += line; };
  prepared.logon = rfc::PrepareLogon(address, console);
  return prepared;
}

TEST(OpenConnection, RecordsOfTheRfcOpenWay) {
  using Logon = rfc::AddressLogon;
  struct Case {
    const char* what;
    std::function<void(Logon&)> change;
    Fields expected;  // the fields the case is about
  };
  const std::vector<Case> cases = {
      {"sample logon",
       [](Logon&) {},
       {{"dest", "'PRD'"},
        {"mode", "0"},
        {"client", "'100'"},
        {"user", "'MONITOR     '"},
        {"password", "'secret    '"},
        {"lang", "'E'"},
        {"trace", "0"},
        {"host", "'sapprd'"},
        {"sysnr", "0"},
        {"gwhost", "'gw1'"},
        {"gwserv", "'sapgw00'"}}},
      {"three-character user gets nine blanks, two-character password eight",
       [](Logon& l) {
         l.user = "ABC";
         l.password = "pw";
       },
       {{"user", "'ABC         '"}, {"password", "'pw        '"}}},
      {"longer user and password stay whole",
       [](Logon& l) {
         l.user = "ABCDEFGHIJKLM";
         l.password = "0123456789X";
       },
       {{"user", "'ABCDEFGHIJKLM'"}, {"password", "'0123456789X'"}}},
      {"exactly R/2 takes the gateway record",
       [](Logon& l) { l.mode = "R/2"; },
       {{"mode", "1"}, {"host", "null"}, {"gwhost", "'gw1'"}, {"gwserv", "'sapgw00'"}}},
      {"R/2 with empty gateway texts",
       [](Logon& l) {
         l.mode = "R/2";
         l.gateway_host.clear();
         l.gateway_service.clear();
       },
       {{"mode", "1"}, {"gwhost", "null"}, {"gwserv", "null"}}},
      {"lower-case r/2 is an application server",
       [](Logon& l) { l.mode = "r/2"; },
       {{"mode", "0"}, {"host", "'sapprd'"}}},
      {"R/2 with a trailing blank is an application server",
       [](Logon& l) { l.mode = "R/2 "; },
       {{"mode", "0"}, {"host", "'sapprd'"}}},
      {"empty host, gateway host and service are absent",
       [](Logon& l) {
         l.host.clear();
         l.gateway_host.clear();
         l.gateway_service.clear();
       },
       {{"host", "null"}, {"gwhost", "null"}, {"gwserv", "null"}}},
      {"system number read as decimal", [](Logon& l) { l.system_number = "07"; }, {{"sysnr", "7"}}},
      {"system number like atoi", [](Logon& l) { l.system_number = " 12x3"; }, {{"sysnr", "12"}}},
      {"empty system number is 0", [](Logon& l) { l.system_number.clear(); }, {{"sysnr", "0"}}},
      {"system number held to the int range",
       [](Logon& l) { l.system_number = "99999999999"; },
       {{"sysnr", "2147483647"}}},
      {"negative system number held to the int range",
       [](Logon& l) { l.system_number = "-99999999999"; },
       {{"sysnr", "-2147483648"}}},
  };
  for (const Case& c : cases) {
    fake::FakeRfcLibrary library;
    Logon logon = SampleLogon();
    c.change(logon);
    rfc::ConnectionRecords records;
    EXPECT_EQ(rfc::OpenConnection(library, logon, {}, records), 7u) << c.what;
    ASSERT_TRUE(library.open) << c.what;
    const Fields seen = Describe(*library.open);
    for (const auto& [field, value] : c.expected) {
      EXPECT_EQ(seen.at(field), value) << c.what << ": " << field;
    }
    EXPECT_EQ(library.log, std::vector<std::string>{"RfcOpen"}) << c.what;
  }
}

TEST(OpenConnection, RecordsStayValidAndEveryOpeningRewritesThem) {
  rfc::ConnectionRecords records;
  fake::FakeRfcLibrary first;
  rfc::AddressLogon logon = SampleLogon();
  logon.system_number = "42";
  rfc::OpenConnection(first, logon, {}, records);

  // The library may keep the pointers: they must still lead somewhere.
  const OpenOptions* kept = first.open_options;
  EXPECT_STREQ(kept->user, "MONITOR     ");
  EXPECT_EQ(static_cast<const ServerAddress*>(kept->connection)->system_number, 42);

  fake::FakeRfcLibrary second;
  logon.system_number.clear();
  logon.host.clear();
  rfc::OpenConnection(second, logon, {}, records);
  EXPECT_EQ(second.open->system_number, 0);
  EXPECT_EQ(second.open->host, std::nullopt);
}

TEST(OpenConnection, TraceLineAndTheLibrarysHandle) {
  struct Case {
    RfcHandle handle;
    std::string line;
  };
  const std::vector<Case> cases = {
      {0u, "0 RfcOpen called \n"},
      {12u, "12 RfcOpen called \n"},
      {0xFFFFFFFFu, "-1 RfcOpen called \n"},
  };
  for (const Case& c : cases) {
    fake::FakeRfcLibrary library;
    library.open_handle = c.handle;
    std::string trace_lines;
    const rfc::TraceWriter trace = [&trace_lines](std::string_view line) { trace_lines += line; };
    rfc::ConnectionRecords records;
    EXPECT_EQ(rfc::OpenConnection(library, SampleLogon(), trace, records), c.handle);
    EXPECT_EQ(trace_lines, c.line);
  }
}

TEST(PrepareLogon, WithoutDestinationFileTheAddressItself) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const std::string destination : {"PRD", ""}) {
    rfc::AddressLogon address = SampleLogon();
    address.destination = destination;
    const Prepared prepared = Prepare(address);
    ASSERT_TRUE(prepared.logon) << destination;
    ASSERT_TRUE(std::holds_alternative<rfc::AddressLogon>(*prepared.logon)) << destination;
    EXPECT_EQ(std::get<rfc::AddressLogon>(*prepared.logon).destination, destination);
    EXPECT_EQ(prepared.console, "") << destination;
    EXPECT_FALSE(std::filesystem::exists("SapRfc.ini")) << destination;

    fake::FakeRfcLibrary library;
    rfc::ConnectionRecords records;
    rfc::OpenConnection(library, *prepared.logon, {}, records);
    ASSERT_TRUE(library.open) << destination;
    EXPECT_EQ(library.open->destination, destination);
  }
}

TEST(PrepareLogon, DestinationFileLeadsToRfcOpenEx) {
  struct Case {
    const char* what;
    std::string destination;
    std::string file_content;
    std::string old_ini;  // empty: none
  };
  const std::vector<Case> cases = {
      {"plain entry", "PRD", "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd\r\nSYSNR=00\r\n", ""},
      {"a 0-byte file gives an empty SapRfc.ini", "PRD", "", ""},
      {"bytes copied as they are", "X1", std::string("a\0b\r\n\x1a\xff", 7), ""},
      {"an older, longer SapRfc.ini is replaced", "PRD", "short", std::string(500, 'o')},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    WorkingDirectory in(scratch.path());
    WriteFile("SapRfc." + c.destination, c.file_content);
    if (!c.old_ini.empty()) WriteFile("SapRfc.ini", c.old_ini);
    rfc::AddressLogon address = SampleLogon();
    address.destination = c.destination;
    address.user = "ABC";

    const Prepared prepared = Prepare(address);
    EXPECT_EQ(ReadFile("SapRfc.ini"), c.file_content) << c.what;
    EXPECT_EQ(ReadFile("SapRfc." + c.destination), c.file_content) << c.what;
    EXPECT_EQ(prepared.console, "* SapRfc.Ini.......: " + c.destination + "<\n") << c.what;
    ASSERT_TRUE(prepared.logon) << c.what;
    ASSERT_TRUE(std::holds_alternative<rfc::DestinationLogon>(*prepared.logon)) << c.what;

    fake::FakeRfcLibrary library;
    std::string trace_lines;
    const rfc::TraceWriter trace = [&trace_lines](std::string_view line) { trace_lines += line; };
    rfc::ConnectionRecords records;
    EXPECT_EQ(rfc::OpenConnection(library, *prepared.logon, trace, records), 7u) << c.what;
    EXPECT_EQ(library.log, std::vector<std::string>{"RfcOpenEx"}) << c.what;
    EXPECT_EQ(library.open_ex_text,
              "CLIENT=100 USER=ABC PASSWD=secret LANG=D DEST=" + c.destination)
        << c.what;
    EXPECT_EQ(trace_lines, "7 RfcOpenEx called \n") << c.what;
  }
}

// The classic library is handed a password whole or not at all: the
// connection text of a destination file's logon parts its words at blanks
// and tabs, and the library takes single bytes of the ANSI code page (off
// Windows, ISO 8859-1). What it may take reaches it unchanged.
TEST(OpenConnection, PasswordWholeOrRefused) {
  using rfc::PasswordRefusal;
  struct Case {
    const char* what;
    bool through_destination_file;
    platform::SystemText password;
    std::optional<PasswordRefusal> refusal;
    std::string sent;  // in the record or the connection text
  };
  const std::vector<Case> cases = {
      {"blank by address", false, "two words", std::nullopt, "two words "},
      {"blank in the connection text", true, "two words", PasswordRefusal::kBlankInConnectionText,
       ""},
      {"tab in the connection text", true, "two\twords", PasswordRefusal::kBlankInConnectionText,
       ""},
      {"equals signs in the connection text", true, "a=b=", std::nullopt, "a=b="},
      {"UTF-16 within the code page", true, u"Gr\u00fcn=9", std::nullopt, "Gr\xfcn=9"},
      {"UTF-16 beyond it by address", false, u"Kw9\u03a9tide", PasswordRefusal::kOutsideCodePage,
       ""},
      {"UTF-16 beyond it in the connection text", true, u"Kw9 \u03a9tide",
       PasswordRefusal::kOutsideCodePage, ""},
  };
  for (const Case& c : cases) {
    rfc::Logon logon = SampleLogon();
    std::get<rfc::AddressLogon>(logon).password = c.password;
    if (c.through_destination_file) {
      logon = rfc::DestinationLogon{"100", "MONITOR", c.password, "PRD"};
    }
    EXPECT_EQ(rfc::RefusedByConnection(logon), c.refusal) << c.what;

    fake::FakeRfcLibrary library;
    rfc::ConnectionRecords records;
    const auto handle = rfc::OpenConnection(library, logon, {}, records);
    if (c.refusal) {
      // Never sent, not even in part.
      EXPECT_EQ(handle, 0u) << c.what;
      EXPECT_TRUE(library.log.empty()) << c.what;
    } else if (c.through_destination_file) {
      EXPECT_EQ(library.open_ex_text,
                "CLIENT=100 USER=MONITOR PASSWD=" + c.sent + " LANG=D DEST=PRD")
          << c.what;
    } else {
      ASSERT_TRUE(library.open) << c.what;
      EXPECT_EQ(library.open->password, c.sent) << c.what;
    }
  }
}

TEST(PrepareLogon, UnwritableSapRfcIniGivesNoLogon) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile("SapRfc.PRD", "DEST=PRD\n");
  std::filesystem::create_directory("SapRfc.ini");
  for (bool console_mode : {false, true}) {
    const Prepared prepared = Prepare(SampleLogon(), console_mode);
    EXPECT_FALSE(prepared.logon) << console_mode;
    // The console line comes first; outside console mode there is none.
    EXPECT_EQ(prepared.console, console_mode ? "* SapRfc.Ini.......: PRD<\n" : "") << console_mode;
  }
}

#if !defined(_WIN32)
// Prepares the logon through a destination file longer than the process may
// write, then says what became of the logon and of "SapRfc.ini". Ends the
// process: the limit and the signal are the child's own.
void CopyPastTheFileSizeLimit() {
  std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit previous = limit;
  limit.rlim_cur = std::min<rlim_t>(1000, limit.rlim_max);
  setrlimit(RLIMIT_FSIZE, &limit);
  const Prepared prepared = Prepare(SampleLogon(), false);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::fprintf(stderr, "logon %s, SapRfc.ini %s\n", prepared.logon ? "given" : "none",
               std::filesystem::exists("SapRfc.ini") ? "left" : "removed");
  std::exit(0);
}
#endif

TEST(PrepareLogonDeathTest, ACopyCutShortIsRemoved) {
#if defined(_WIN32)
  GTEST_SKIP() << "no file size limit to cut the copy short";
#else
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile("SapRfc.PRD", "DEST=PRD\n" + std::string(100000, '#'));
  WriteFile("SapRfc.ini", "DEST=OLD\nTYPE=A\n");
  EXPECT_EXIT(CopyPastTheFileSizeLimit(), testing::ExitedWithCode(0),
              "logon none, SapRfc.ini removed");
#endif
}

TEST(PrepareLogon, DestinationIniIsNotEmptiedByItsOwnCopy) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  const std::string entry = "DEST=INI\nTYPE=A\nASHOST=sapprd\nSYSNR=00\n";
  WriteFile("SapRfc.ini", entry);
  rfc::AddressLogon address = SampleLogon();
  address.destination = "ini";
  const Prepared prepared = Prepare(address);
  EXPECT_EQ(ReadFile("SapRfc.ini"), entry);
  ASSERT_TRUE(prepared.logon);
  EXPECT_TRUE(std::holds_alternative<rfc::DestinationLogon>(*prepared.logon));
}

}  // namespace
