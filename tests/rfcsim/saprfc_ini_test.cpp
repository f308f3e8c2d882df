#include "rfcsim/saprfc_ini.h"

#include <gtest/gtest.h>

#include "rfcsim/connection_text.h"

namespace rfcsim {
namespace {

constexpr const char* kIni =
    "* Destinations of the monitoring host\r\n"
    "DEST=QAS\r\n"
    "TYPE=A\r\n"
    "ASHOST=sapqas\r\n"
    "SYSNR=01\r\n"
    "\r\n"
    "  DEST = PRD  \r\n"
    "TYPE=A\r\n"
    "ashost = sapprd01\r\n"
    "* SYSNR=99\r\n"
    "SYSNR=00\r\n"
    "RFC_TRACE=0\r\n"
    "DEST=R2\n"
    "GWHOST=r2gate\n"
    "GWSERV=sapgw42";

TEST(RfcsimFindDestination, FindsTheEntryBetweenItsDestAndTheNext) {
  const auto prd = FindDestination(kIni, "PRD");
  ASSERT_TRUE(prd.has_value());
  EXPECT_EQ(*prd, (KeyValues{
                      {"ASHOST", "sapprd01"}, {"RFC_TRACE", "0"}, {"SYSNR", "00"}, {"TYPE", "A"}}));

  const auto r2 = FindDestination(kIni, "R2");  // last entry, no final line end
  ASSERT_TRUE(r2.has_value());
  EXPECT_EQ(*r2, (KeyValues{{"GWHOST", "r2gate"}, {"GWSERV", "sapgw42"}}));
}

TEST(RfcsimFindDestination, AbsentDestinations) {
  const struct {
    const char* ini;
    const char* destination;
  } cases[] = {
      {"", "PRD"},                       // an empty file
      {kIni, "prd"},                     // names compare exactly
      {kIni, "PR"},                      //
      {"*DEST=PRD\nASHOST=h\n", "PRD"},  // commented out
      {"ASHOST=h\nSYSNR=00\n", ""},      // lines before any DEST belong to none
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(FindDestination(c.ini, c.destination).has_value())
        << "'" << c.destination << "' in:\n"
        << c.ini;
  }
}

TEST(RfcsimParseConnectionText, WellFormedTexts) {
  const auto parse = ParseConnectionText("CLIENT=100 USER=MONITOR  PASSWD=a=b LANG=D DEST=PRD");
  EXPECT_EQ(parse.problem, "");
  EXPECT_EQ(parse.values, (KeyValues{{"CLIENT", "100"},
                                     {"DEST", "PRD"},
                                     {"LANG", "D"},
                                     {"PASSWD", "a=b"},
                                     {"USER", "MONITOR"}}));
  // Keys in any case; empty values are values.
  EXPECT_EQ(ParseConnectionText("client= dest=PRD").values,
            (KeyValues{{"CLIENT", ""}, {"DEST", "PRD"}}));
}

TEST(RfcsimParseConnectionText, MalformedTexts) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"", "the text is empty"},
      {"   ", "the text is empty"},
      {"CLIENT=100 PASSWD=se cret DEST=PRD", "'cret' is not KEY=VALUE"},
      {"=100 DEST=PRD", "'=100' is not KEY=VALUE"},
      {"CLIENT=100 PASSWORD=x DEST=PRD", "unknown key 'PASSWORD'"},
  };
  for (const auto& c : cases) {
    const auto parse = ParseConnectionText(c.text);
    EXPECT_EQ(parse.problem, c.problem) << "'" << c.text << "'";
    EXPECT_TRUE(parse.values.empty());
  }
}

}  // namespace
}  // namespace rfcsim
