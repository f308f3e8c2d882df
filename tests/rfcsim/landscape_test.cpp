#include "rfcsim/landscape.h"

#include <gtest/gtest.h>

#include <string>

#include "rfcsim/files.h"
#include "rfcsim/modules.h"
// GCC 12 at -O3 (the Windows build) takes a string concatenation in this
// header for an overlapping copy; a known false -Wrestrict.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#include "tests/support/scratch_dir.h"
#pragma GCC diagnostic pop

namespace rfcsim {
namespace {

TEST(RfcsimParseLandscape, SyntaxErrorNamesFileAndBytePositionAndLeavesLandscapeEmpty) {
  const LandscapeLoad load =
      ParseLandscape(R"({"systems": [{"name": "PRD", "ashost": "h"},]})", "lab.json");
  EXPECT_TRUE(load.landscape.systems.empty());
  EXPECT_EQ(load.problem.find('\n'), std::string::npos);
  EXPECT_EQ(load.problem,
            "rfcsim: landscape 'lab.json' ignored: byte 45: parse error at line 1, column 45: "
            "syntax error while parsing value - unexpected ']'; expected '[', '{', or a literal");
}

TEST(RfcsimParseLandscape, SchemaErrorsNameThePathAndEmptyTheLandscape) {
  const std::string ok_system = R"({"systems": [{"name": "PRD", "ashost": "h")";
  const auto functions = [&](const std::string& object) {
    return ok_system + R"(, "functions": )" + object + "}]}";
  };
  const struct {
    std::string json;
    std::string message;
  } cases[] = {
      {"[]", "/: expected an object"},
      {R"({"sytems": []})", "/sytems: unknown key"},
      {R"({"systems": [{"name": 5, "ashost": "h"}]})", "/systems/0/name: expected a text"},
      {R"({"systems": [{"name": "P€", "ashost": "h"}]})",
       "/systems/0/name: text has a character beyond U+00FF"},
      {R"({"systems": [{"name": "PRD"}]})", R"(/systems/0: a system needs "ashost" or "gwhost")"},
      {R"({"systems": [{"name": "PRD", "ashost": "h", "sysnr": 100}]})",
       "/systems/0/sysnr: expected an integer from 0 to 99"},
      {ok_system + R"(, "accounts": [{"client": "100", "user": "U"}]}]})",
       R"(/systems/0/accounts/0: needs "password")"},
      {functions(R"({"Z_FOO": {}})"),
       "/systems/0/functions/Z_FOO: no function module of that name"},
      {functions(R"({"ADA_DB_FILLING": {"tables": {"DEVSTAT": [{"CONF_SIZ": 1}]}}})"),
       "/systems/0/functions/ADA_DB_FILLING/tables/DEVSTAT/0/CONF_SIZ: no field of that name in "
       "ADA_DEVSTA"},
      {functions(R"({"ADA_DB_FILLING": {"tables": {"DEVSTAT": [{"PAGESx": 1.5}]}}})"),
       "/PAGESx: expected an integer from -2147483648 to 2147483647"},
      {functions(R"({"ADA_DB_FILLING": {"tables": {"DEVSTAT": [{"CONF_SIZE": "5000"}]}}})"),
       "/CONF_SIZE: expected exactly 22 hexadecimal digits"},
      {functions(R"({"GET_CPU_ALL": {"tables": {"TF_CPU_ALL": [{"TYPE": 32768}]}}})"),
       "/TYPE: expected an integer from -32768 to 32767"},
      {functions(R"({"GET_CPU_ALL": {"importing": {"OP_SYS": "x"}}})"),
       "/importing/OP_SYS: no importing parameter of that name"},
      {functions(R"({"RFC_SYSTEM_INFO": {"importing": {"RFCSI_EXPORT":
                        {"RFCDBSYS": {"hex": "4141414141414141414141"}}}}})"),
       "/RFCDBSYS: more than 10 bytes"},
      {R"({"faults": [{"operation": "RfcFoo"}]})", R"(/faults/0/operation: no operation "RfcFoo")"},
      {R"({"faults": [{"operation": "RfcOpen PRD"}]})",
       "/faults/0/operation: RfcOpen takes no subject"},
      {R"({"faults": [{"operation": "RfcClose"}]})",
       R"(/faults/0/operation: no operation "RfcClose")"},
      {R"({"faults": [{"operation": "RfcCall", "result": 0}]})",
       "/faults/0/result: a fault cannot return 0"},
      {R"({"faults": [{"operation": "RfcCall", "exception": "X"}]})",
       "/faults/0/exception: only with result 2 or 3"},
      {ok_system + R"(, "faults": [{"operation": "ItDelete", "row": 1}]}]})",
       "/systems/0/faults/0/row: only for ItGetLine"},
      {R"({"faults": [{"operation": "RfcCall", "crash": "yes"}]})",
       "/faults/0/crash: expected true or false"},
      {R"({"faults": [{"operation": "RfcCall", "crash": true, "result": 2}]})",
       R"(/faults/0/result: not with "crash")"},
      {R"({"faults": [{"operation": "RfcReceive", "crash": true, "exception": null}]})",
       R"(/faults/0/exception: not with "crash")"},
      {ok_system + R"(, "faults": [{"operation": "ItGetLine", "row": 2, "crash": true,
                                     "error_handler": false}]}]})",
       R"(/systems/0/faults/0/error_handler: not with "crash")"},
      {R"({"delays": {"operation": "RfcCall", "seconds": 1}})", "/delays: expected an array"},
      {R"({"delays": [{"seconds": 1}]})", R"(/delays/0: a delay needs an "operation")"},
      {R"({"delays": [{"operation": "RfcCall"}]})", R"(/delays/0: a delay needs "seconds")"},
      {ok_system + R"(, "delays": [{"operation": "RfcRecieve", "seconds": 1}]}]})",
       R"(/systems/0/delays/0/operation: no operation "RfcRecieve")"},
      {R"({"delays": [{"operation": "RfcOpenEx PRD", "seconds": 1}]})",
       "/delays/0/operation: RfcOpenEx takes no subject"},
      {R"({"delays": [{"operation": "RfcClose PRD", "seconds": 1}]})",
       "/delays/0/operation: RfcClose takes no subject"},
      {R"({"delays": [{"operation": "ItGetLine", "seconds": 1, "row": 2}]})",
       "/delays/0/row: unknown key"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": -0.5}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": 86400.5}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": 1e300}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": "2"}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": null}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
      {R"({"delays": [{"operation": "RfcCall", "seconds": true}]})",
       "/delays/0/seconds: expected a number from 0 to 86400"},
  };
  for (const auto& c : cases) {
    const LandscapeLoad load = ParseLandscape(c.json, "lab.json");
    EXPECT_NE(load.problem.find(c.message), std::string::npos)
        << c.json << "\n  gave: " << load.problem;
    EXPECT_EQ(load.problem.rfind("rfcsim: landscape 'lab.json' ignored: ", 0), 0u);
    EXPECT_TRUE(load.landscape.systems.empty() && load.landscape.faults.empty() &&
                load.landscape.delays.empty())
        << c.json;
  }
}

TEST(RfcsimParseLandscape, TextsBecomeSingleBytes) {
  const LandscapeLoad load = ParseLandscape(
      R"({"systems": [{"name": "PRD", "ashost": "h",
          "accounts": [{"client": "100", "user": "MÜLLER", "password": "geheim\u00df"}]}]})",
      "x");
  ASSERT_EQ(load.problem, "");
  const Account& account = load.landscape.systems.at(0).accounts.at(0);
  EXPECT_EQ(account.user, "M\xDCLLER");
  EXPECT_EQ(account.password, "geheim\xDF");
}

TEST(RfcsimModuleLayouts, FieldsLieInsideTheirRowInOrderWithoutOverlap) {
  const auto check = [](const StructureLayout& layout) {
    unsigned end = 0;
    for (const FieldLayout& field : layout.fields) {
      EXPECT_GE(field.offset, end) << layout.name << "." << field.name;
      end = field.offset + field.length;
      if (field.kind == FieldKind::kInt16) {
        EXPECT_EQ(field.length, 2u) << field.name;
      }
      if (field.kind == FieldKind::kInt32) {
        EXPECT_EQ(field.length, 4u) << field.name;
        EXPECT_EQ(field.offset % 4, 0u) << field.name;
      }
    }
    EXPECT_LE(end, layout.length) << layout.name;
  };
  for (const ModuleLayout& module : KnownModules()) {
    for (const TableLayout& table : module.tables) check(*table.row);
    for (const ImportingLayout& param : module.importing) {
      if (param.structure) {
        check(*param.structure);
        EXPECT_EQ(param.length, param.structure->length);
      }
    }
  }
}

// The example in the landscape documentation must stay a valid landscape.
TEST(RfcsimLoadLandscapeFile, DocumentedExampleLoads) {
  const std::optional<std::string> doc = ReadWholeFile(RFCSIM_SOURCE_DIR "/docs/landscape.md");
  ASSERT_TRUE(doc.has_value());
  const auto section = doc->find("## A complete example");
  const auto begin = doc->find("```json\n", section);
  const auto end = doc->find("```", begin + 8);
  ASSERT_NE(section, std::string::npos);
  ASSERT_NE(end, std::string::npos);
  const LandscapeLoad load = ParseLandscape(doc->substr(begin + 8, end - begin - 8), "doc");
  EXPECT_EQ(load.problem, "");
  ASSERT_EQ(load.landscape.systems.size(), 2u);
  EXPECT_EQ(load.landscape.systems[1].faults.size(), 2u);
  EXPECT_EQ(load.landscape.systems[1].delays.size(), 1u);
  EXPECT_EQ(load.landscape.faults.size(), 1u);
}

TEST(RfcsimLoadLandscapeFile, MissingFileIsEmptyAndOnlyComplainsWhenNamed) {
  ScratchDir scratch;
  const std::string path = scratch.path() + "/none.json";
  EXPECT_EQ(LoadLandscapeFile(path, false).problem, "");
  EXPECT_EQ(LoadLandscapeFile(path, true).problem,
            "rfcsim: landscape '" + path + "' ignored: cannot open the file");
}

}  // namespace
}  // namespace rfcsim
