#include "output/result_document.h"

#include <gtest/gtest.h>

#include <string>

#include "config/run_options.h"
#include "output/channel_key.h"

namespace {

// A document for `flavour` with the channel selection of the option text.
output::ResultDocument Document(std::string_view flavour, const std::string& options) {
  return output::ResultDocument(
      flavour, std::get<config::RunOptions>(config::ParseRunOptions(options)).channel);
}

// The single-system document: text, two channels, end.
std::string SmallDocument(const char* flavour, const char* options = "") {
  output::ResultDocument document = Document(flavour, options);
  document.OpenResultDocument();
  document.OpenResultText();
  document.Append("text");
  document.CloseResultText();
  document.WriteChannel("Used Area [Prc]", "42", "PerCent");
  document.WriteChannel("Total Size", "5", "");
  document.CloseResultDocument();
  return document.Take();
}

TEST(ResultDocument, WholeDocumentInEachFlavour) {
  const std::string prtg =
      "\n<Prtg>\n\n<Text>text</Text>\n"
      "\n<Result><Channel>Used Area [Prc]</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>PerCent</CustomUnit>\n<Value>42</Value></Result>\n"
      "\n<Result><Channel>Total Size</Channel>\n<Value>5</Value></Result>\n"
      "\n</Prtg>\n";
  EXPECT_EQ(SmallDocument("EXEXML"), prtg);
  EXPECT_EQ(SmallDocument("Wendrel"), prtg);
  EXPECT_EQ(SmallDocument("Ostrune"), prtg);
  EXPECT_EQ(SmallDocument("Halvaric"),
            "\n# text"
            "\n\nMessage.Used_Area__Prc_: Used Area [Prc] (%)\nStatistic.Used_Area__Prc_: 42"
            "\n\nMessage.Total_Size: Total Size (#)\nStatistic.Total_Size: 5"
            "\n");
  EXPECT_EQ(SmallDocument("Pellmar"), "\n# text\n> Used Area [Prc]: 42 %\n> Total Size: 5 #\n");
  // Keywords compare case-sensitively; an unknown one frames nothing.
  EXPECT_EQ(SmallDocument("exexml"),
            "text\n<Result><Channel>Used Area [Prc]</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>PerCent</CustomUnit>\n<Value>42</Value></Result>\n"
            "\n<Result><Channel>Total Size</Channel>\n<Value>5</Value></Result>\n");
}

TEST(ResultDocument, PellmarChannelSelection) {
  struct Case {
    const char* options;
    std::string expected;
  };
  const Case cases[] = {
      {"CH=2", "5\n"},  {"X CH=1,Y", "42\n"}, {"CH=0", "\n"}, {"CH=X", "\n"},
      {"CH= 2", "5\n"}, {"CH=+1", "42\n"},    {"CH=", "\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SmallDocument("Pellmar", c.options), c.expected) << c.options;
  }
  // Three characters at most: 1234 selects channel 123; "12," selects 12.
  output::ResultDocument document = Document("Pellmar", "CH=1234");
  output::ResultDocument twelve = Document("Pellmar", "CH=12,");
  for (int i = 1; i <= 130; ++i) {
    document.WriteChannel("c", std::to_string(i), "");
    twelve.WriteChannel("c", std::to_string(i), "");
  }
  EXPECT_EQ(document.text(), "123");
  EXPECT_EQ(twelve.text(), "12");
}

TEST(ResultDocument, HalvaricKeepsTenChannelsButCountsAll) {
  output::ResultDocument document = Document("Halvaric", "");
  for (int i = 1; i <= 12; ++i) document.WriteChannel("n", std::to_string(i), "");
  EXPECT_EQ(document.channel_number(), 12);
  EXPECT_NE(document.text().find("Statistic.n: 10"), std::string::npos);
  EXPECT_EQ(document.text().find("Statistic.n: 11"), std::string::npos);
}

TEST(ResultDocument, OpeningReplacesOrEmpties) {
  for (const char* flavour : {"EXEXML", "Halvaric", "Pellmar"}) {
    output::ResultDocument document = Document(flavour, "");
    document.Append("earlier");
    document.OpenResultDocument();
    EXPECT_EQ(document.text().find("earlier"), std::string::npos) << flavour;
  }
}

TEST(ResultDocument, ErrorDocumentIgnoresFlavourAndEscapes) {
  for (const char* flavour : {"EXEXML", "Halvaric", "Pellmar", "other"}) {
    output::ResultDocument document = Document(flavour, "");
    document.Append("Error 1014: RFC-Failure raised ! - R&D <down>");
    document.WriteErrorDocument(document.text());
    EXPECT_EQ(document.Take(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - R&amp;D "
              "&lt;down&gt;</Text>\n</Prtg>\n")
        << flavour;
  }
}

TEST(ResultDocument, OutsideTextEscapedOnlyInPrtgXml) {
  output::ResultDocument prtg = Document("EXEXML", "");
  prtg.AppendExternal("A&B<C>");
  prtg.WriteChannel("P&L", "1", "x<y");
  EXPECT_EQ(prtg.text(),
            "A&amp;B&lt;C&gt;\n<Result><Channel>P&amp;L</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>x&lt;y</CustomUnit>\n<Value>1</Value></Result>\n");
  output::ResultDocument lines = Document("Pellmar", "");
  lines.AppendExternal("A&B");
  lines.WriteChannel("P&L", "1", "");
  EXPECT_EQ(lines.text(), "A&B\n> P&L: 1 #");
}

TEST(EscapeXml, KeepsEveryDocumentWellFormed) {
  EXPECT_EQ(output::EscapeXml("R&D <x> \"q\" 'a'"), "R&amp;D &lt;x&gt; \"q\" 'a'");
  EXPECT_EQ(output::EscapeXml("M\xFCller \x80"), "M&#252;ller &#128;");
  EXPECT_EQ(output::EscapeXml(std::string("a\x01"
                                          "b\x1F"
                                          "\tc\r\n",
                                          8)),
            "a b \tc\r\n");
  EXPECT_EQ(output::EscapeXml("plain"), "plain");
}

TEST(ChannelKey, ReplacedCharactersAndFirstPoint) {
  EXPECT_EQ(output::ChannelKey("Total Size"), "Total_Size");
  EXPECT_EQ(output::ChannelKey("Perm Used Area [Prc]"), "Perm_Used_Area__Prc_");
  EXPECT_EQ(output::ChannelKey("a.b.c"), "a_b.c");
  EXPECT_EQ(output::ChannelKey("/\\[]*():-"), "_________");
  EXPECT_EQ(output::ChannelKey("PRD.P00"), "PRD_P00");
}

}  // namespace
