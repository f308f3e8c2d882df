#include "rfc/open_connection.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "include/texts.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

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

ConnectionProfile SampleProfile() {
  ConnectionProfile p;
  p.Destination = "PRD";
  p.Client = "100";
  p.User = "MONITOR";
  p.Password = "secret";
  p.Language = "E";
  p.Mode = "R/3";
  p.Hostname = "sapprd";
  p.Sysnr = "00";
  p.Gwhost = "gw1";
  p.Gwservice = "sapgw00";
  return p;
}

// Upper-cases the option text as start-up does, keeping the original.
void SetOptions(RunState& run, const std::string& options) {
  run.RunOptionsOriginal = options;
  run.RunOptions = options;
  for (char& c : run.RunOptions) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

TEST(OpenConnection, RecordsOfTheRfcOpenWay) {
  using Profile = ConnectionProfile;
  struct Case {
    const char* what;
    std::function<void(Profile&)> change;
    std::string options;
    Fields expected;  // the fields the case is about
  };
  const std::vector<Case> cases = {
      {"sample profile",
       [](Profile&) {},
       "",
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
       [](Profile& p) {
         p.User = "ABC";
         p.Password = "pw";
       },
       "",
       {{"user", "'ABC         '"}, {"password", "'pw        '"}}},
      {"longer user and password stay whole",
       [](Profile& p) {
         p.User = "ABCDEFGHIJKLM";
         p.Password = "0123456789X";
       },
       "",
       {{"user", "'ABCDEFGHIJKLM'"}, {"password", "'0123456789X'"}}},
      {"exactly R/2 takes the gateway record",
       [](Profile& p) { p.Mode = "R/2"; },
       "",
       {{"mode", "1"}, {"host", "null"}, {"gwhost", "'gw1'"}, {"gwserv", "'sapgw00'"}}},
      {"R/2 with empty gateway texts",
       [](Profile& p) {
         p.Mode = "R/2";
         p.Gwhost.clear();
         p.Gwservice.clear();
       },
       "",
       {{"mode", "1"}, {"gwhost", "null"}, {"gwserv", "null"}}},
      {"lower-case r/2 is an application server",
       [](Profile& p) { p.Mode = "r/2"; },
       "",
       {{"mode", "0"}, {"host", "'sapprd'"}}},
      {"R/2 with a trailing blank is an application server",
       [](Profile& p) { p.Mode = "R/2 "; },
       "",
       {{"mode", "0"}, {"host", "'sapprd'"}}},
      {"empty host, gateway host and service are absent",
       [](Profile& p) {
         p.Hostname.clear();
         p.Gwhost.clear();
         p.Gwservice.clear();
       },
       "",
       {{"host", "null"}, {"gwhost", "null"}, {"gwserv", "null"}}},
      {"system number read as decimal", [](Profile& p) { p.Sysnr = "07"; }, "", {{"sysnr", "7"}}},
      {"system number like atoi", [](Profile& p) { p.Sysnr = " 12x3"; }, "", {{"sysnr", "12"}}},
      {"empty system number is 0", [](Profile& p) { p.Sysnr.clear(); }, "", {{"sysnr", "0"}}},
      {"host and number overrides keep their case",
       [](Profile&) {},
       "#,HOST=abc,NO=07",
       {{"host", "'abc'"}, {"sysnr", "7"}}},
      {"an override ends at a blank",
       [](Profile&) {},
       ",HOST=Host1 ,NO=42 more",
       {{"host", "'Host1'"}, {"sysnr", "42"}}},
      {"empty overrides: host absent, number 0",
       [](Profile& p) { p.Sysnr = "33"; },
       ",HOST=,NO=",
       {{"host", "null"}, {"sysnr", "0"}}},
      {"keyword found in any case of the options",
       [](Profile&) {},
       ",host=lower",
       {{"host", "'lower'"}}},
  };
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const Case& c : cases) {
    TestRun t;
    t.run.Profile = SampleProfile();
    c.change(t.run.Profile);
    SetOptions(t.run, c.options);
    ConnectionRecords records;
    EXPECT_EQ(OpenConnection(t.run, t.services, records), 7u) << c.what;
    ASSERT_TRUE(t.rfc.open) << c.what;
    const Fields seen = Describe(*t.rfc.open);
    for (const auto& [field, value] : c.expected) {
      EXPECT_EQ(seen.at(field), value) << c.what << ": " << field;
    }
    EXPECT_EQ(t.rfc.log, std::vector<std::string>{"RfcOpen"}) << c.what;
    EXPECT_EQ(t.out.text(), "") << c.what;
  }
}

TEST(OpenConnection, RecordsStayValidAndEveryOpeningRewritesThem) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  ConnectionRecords records;
  TestRun first;
  first.run.Profile = SampleProfile();
  first.run.Profile.Sysnr = "42";
  OpenConnection(first.run, first.services, records);

  // The library may keep the pointers: they must still lead somewhere.
  const OpenOptions* kept = first.rfc.open_options;
  EXPECT_STREQ(kept->user, "MONITOR     ");
  EXPECT_EQ(static_cast<const ServerAddress*>(kept->connection)->system_number, 42);

  TestRun second;
  second.run.Profile = SampleProfile();
  second.run.Profile.Sysnr.clear();
  second.run.Profile.Hostname.clear();
  OpenConnection(second.run, second.services, records);
  EXPECT_EQ(second.rfc.open->system_number, 0);
  EXPECT_EQ(second.rfc.open->host, std::nullopt);
}

TEST(OpenConnection, TheRunsOwnRecordsOutliveTheCall) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  TestRun t;
  t.run.Profile = SampleProfile();
  EXPECT_EQ(OpenConnection(t.run, t.services), 7u);
  EXPECT_STREQ(t.rfc.open_options->password, "secret    ");
}

TEST(OpenConnection, TraceLineAndTheLibrarysHandle) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (RfcHandle handle : {0u, 12u}) {
    TestRun t;
    t.run.Profile = SampleProfile();
    SetOptions(t.run, ",SYSLOG");
    t.rfc.open_handle = handle;
    ConnectionRecords records;
    EXPECT_EQ(OpenConnection(t.run, t.services, records), handle);
    EXPECT_EQ(t.err.text(), std::to_string(handle) + " RfcOpen called \n");
  }
}

TEST(OpenConnection, DestinationFileLeadsToRfcOpenEx) {
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
    TestRun t;
    t.run.Profile = SampleProfile();
    t.run.Profile.Destination = c.destination;
    t.run.Profile.User = "ABC";
    SetOptions(t.run, ",SYSLOG");
    t.run.ConsoleMode = true;
    ConnectionRecords records;

    EXPECT_EQ(OpenConnection(t.run, t.services, records), 7u) << c.what;
    EXPECT_EQ(ReadFile("SapRfc.ini"), c.file_content) << c.what;
    EXPECT_EQ(ReadFile("SapRfc." + c.destination), c.file_content) << c.what;
    EXPECT_EQ(t.out.text(), "* SapRfc.Ini.......: " + c.destination + "<\n") << c.what;
    EXPECT_EQ(t.rfc.log, std::vector<std::string>{"RfcOpenEx"}) << c.what;
    EXPECT_EQ(t.rfc.open_ex_text, "CLIENT=100 USER=ABC PASSWD=secret LANG=D DEST=" + c.destination)
        << c.what;
    EXPECT_EQ(t.err.text(), "7 RfcOpenEx called \n") << c.what;
  }
}

TEST(OpenConnection, UnwritableSapRfcIniOpensNothing) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  WriteFile("SapRfc.PRD", "DEST=PRD\n");
  std::filesystem::create_directory("SapRfc.ini");
  TestRun t;
  t.run.Profile = SampleProfile();
  ConnectionRecords records;
  EXPECT_EQ(OpenConnection(t.run, t.services, records), 0u);
  EXPECT_TRUE(t.rfc.log.empty());
  // Outside console mode standard output carries the result document only.
  EXPECT_EQ(t.out.text(), "");
}

TEST(OpenConnection, DestinationIniIsNotEmptiedByItsOwnCopy) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  const std::string entry = "DEST=INI\nTYPE=A\nASHOST=sapprd\nSYSNR=00\n";
  WriteFile("SapRfc.ini", entry);
  TestRun t;
  t.run.Profile = SampleProfile();
  t.run.Profile.Destination = "ini";
  ConnectionRecords records;
  EXPECT_EQ(OpenConnection(t.run, t.services, records), 7u);
  EXPECT_EQ(ReadFile("SapRfc.ini"), entry);
  EXPECT_EQ(t.rfc.log, std::vector<std::string>{"RfcOpenEx"});
}

TEST(OpenConnection, EmptyDestinationWithoutFileOpensWithEmptyDestination) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  TestRun t;
  t.run.Profile = SampleProfile();
  t.run.Profile.Destination.clear();
  ConnectionRecords records;
  OpenConnection(t.run, t.services, records);
  ASSERT_TRUE(t.rfc.open);
  EXPECT_EQ(t.rfc.open->destination, "");
}

TEST(OpenConnection, PasswordGoesNowhereButTheLibrary) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (bool with_destination_file : {false, true}) {
    if (with_destination_file) WriteFile("SapRfc.PRD", "DEST=PRD\n");
    TestRun t;
    t.run.Profile = SampleProfile();
    t.run.Profile.Password = "Pa55word";
    SetOptions(t.run, "#,SYSLOG");
    ConnectionRecords records;
    OpenConnection(t.run, t.services, records);
    EXPECT_EQ(t.out.text().find("Pa55word"), std::string::npos);
    EXPECT_EQ(t.err.text().find("Pa55word"), std::string::npos);
    EXPECT_EQ(t.run.Document.text().find("Pa55word"), std::string::npos);
  }
}

}  // namespace
