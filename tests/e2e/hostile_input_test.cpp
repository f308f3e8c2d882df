// Files people edit by hand and answers of a remote library can hold
// anything. For every file the sensor reads, each hostile form below must
// still end the run with a defined exit code (the harness checks it, and
// that nothing else is touched and no password shows), and a PRTG document,
// when one is printed, must stay well-formed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

const std::string kSensors = "D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr const char* kHostilePassword = "Hostile-42";

std::string Profile(const std::string& destination, const std::string& host) {
  return ProfileText({.destination = destination,
                      .user = "MONITOR",
                      .password = kHostilePassword,
                      .hostname = host,
                      .gwhost = host});
}

// Three systems; BRK fails its probe, so that the trace file is read.
const std::string kLandscape = R"({"systems": [
  {"name": "PRD", "ashost": "sapprd01", "sysnr": 0,
   "accounts": [{"client": "100", "user": "MONITOR", "password": "Hostile-42"}]},
  {"name": "QAS", "ashost": "sapqas01", "sysnr": 0,
   "accounts": [{"client": "100", "user": "MONITOR", "password": "Hostile-42"}]},
  {"name": "BRK", "ashost": "sapbrk01", "sysnr": 0,
   "accounts": [{"client": "100", "user": "MONITOR", "password": "Hostile-42"}],
   "faults": [{"operation": "RfcReceive GET_CPU_ALL", "result": 1, "trace": []}]}
]}
)";

// A healthy installation: PRTG below D:\PRTG, the sensor started in its
// directory, where the landscape and the library's files lie.
Scenario Installation(std::vector<std::string> arguments) {
  return Scenario{
      .arguments = std::move(arguments),
      .files = {{"C:\\PRTG_Path.Txt", "D:\\PRTG\n"},
                {kSensors + "PRD.P00", Profile("PRD", "sapprd01")},
                {kSensors + "QAS.P00", Profile("QAS", "sapqas01")},
                {kSensors + "BRK.P00", Profile("BRK", "sapbrk01")},
                {kSensors + "SAP Tessaron.Gbl",
                 "# GSNG: HOSTILE     PRD.P00#QAS.P00#\n"
                 "# GSNX: HOSTILE    Item=Used:Area,Sensor=\"SAP Brackwater\"\n"},
                {kSensors + "Tessaron.Prf", "# Gsng systems\nsystems of the item PRD.P00#\n"},
                {"rfcsim.json", kLandscape},
                {"Dev_Rfc.Trc", "**** ERROR file opened\nERROR       partner down\n"}},
      .working_directory = kSensors};
}

struct HostileFile {
  std::string name;
  std::string path;                    // as laid out in Installation()
  std::vector<std::string> arguments;  // a run that reads the file
  std::string extra_file = {};         // laid out besides, when the run needs it
  std::string extra_content = {};
};

const std::vector<HostileFile>& Files() {
  static const std::vector<HostileFile> files = {
      {"profile", kSensors + "PRD.P00", {"PRD"}},
      {"path_file", "C:\\PRTG_Path.Txt", {"PRD"}},
      {"listing", kSensors + "SAP Tessaron.Gbl", {"GLOBAL", "HOSTILE"}},
      {"item_listing", kSensors + "Tessaron.Prf", {"PRD", "ITEM=Used:Area"}},
      {"destination_file",
       "SapRfc.PRD",
       {"PRD"},
       "SapRfc.PRD",
       "DEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n"},
      {"trace_file", "Dev_Rfc.Trc", {"BRK"}},
      {"landscape", "rfcsim.json", {"PRD"}},
      {"history",
       kSensors + "PRD.P00.hst",
       {"PRD", "FORECAST"},
       kSensors + "PRD.P00.hst",
       "2024-05-30T00:00:00Z 1000 5000\n2024-05-31T00:00:00Z 1100 5000\n"},
  };
  return files;
}

struct Form {
  std::string name;
  // The hostile content made from the file's normal one; nothing: a
  // directory in the file's place.
  std::function<std::optional<std::string>(const std::string&)> make;
};

std::string EachLine(const std::string& text, const std::function<std::string(std::string)>& f) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? end : end - start);
    out += f(line) + (end == std::string::npos ? "" : "\n");
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return out;
}

const std::vector<Form>& Forms() {
  static const std::vector<Form> forms = {
      {"empty", [](const std::string&) { return std::string(); }},
      {"no_final_line_end",
       [](const std::string& t) { return t.ends_with('\n') ? t.substr(0, t.size() - 1) : t; }},
      {"cr_only",
       [](std::string t) {
         std::replace(t.begin(), t.end(), '\n', '\r');
         return t;
       }},
      {"cr_lf",
       [](const std::string& t) { return EachLine(t, [](std::string l) { return l + "\r"; }); }},
      {"nul_bytes",
       [](const std::string& t) {
         return EachLine(t, [](std::string l) { return l.insert(l.size() / 2, 1, '\0'); });
       }},
      {"high_bytes",
       [](const std::string& t) {
         std::string high;
         for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
         return EachLine(t, [&high](std::string l) { return l + high; });
       }},
      {"megabyte_line",
       [](const std::string& t) {
         return std::string(1 << 20, 'x') + "\n" + t + std::string(1 << 20, 'y');
       }},
      {"hundred_thousand_lines",
       [](const std::string& t) {
         std::string many;
         for (int i = 0; i < 100'000; ++i) many += "* line " + std::to_string(i) + "\n";
         return t + many;
       }},
      {"directory", [](const std::string&) { return std::optional<std::string>(); }},
  };
  return forms;
}

struct HostileCase {
  const HostileFile* file;
  const Form* form;
};

void PrintTo(const HostileCase& c, std::ostream* out) {
  *out << c.file->name << "_" << c.form->name;
}

std::vector<HostileCase> AllCases() {
  std::vector<HostileCase> cases;
  for (const HostileFile& file : Files()) {
    for (const Form& form : Forms()) cases.push_back({&file, &form});
  }
  return cases;
}

// The PRTG document of the output: the error document when there is one
// (a listing run that ends early prints it after what it printed before),
// else the result document, without the console lines around it. Empty
// when the output holds none (an RFC error report, another monitor's
// format).
std::string PrtgPart(const std::string& out) {
  std::size_t at = out.find("<Prtg>\n<Error>");
  if (at == std::string::npos) at = out.find("<Prtg>");
  if (at == std::string::npos) return {};
  std::size_t end = out.find("</Prtg>", at);
  return end == std::string::npos ? out.substr(at) : out.substr(at, end + 7 - at);
}

class HostileInput : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileInput, EndsDefinedAndWellFormed) {
  const HostileCase& c = GetParam();
  Scenario scenario = Installation(c.file->arguments);
  if (!c.file->extra_file.empty()) scenario.files[c.file->extra_file] = c.file->extra_content;
  const std::string normal = scenario.files[c.file->path];
  scenario.files.erase(c.file->path);
  if (std::optional<std::string> content = c.form->make(normal)) {
    scenario.files[c.file->path] = *content;
  } else {
    scenario.directories.push_back(c.file->path);
  }
  Outcome outcome = RunSensor(scenario);
  if (std::string document = PrtgPart(outcome.out); !document.empty()) {
    EXPECT_TRUE(IsWellFormedXml(document));
  } else {
    EXPECT_EQ(outcome.exit_code, 1) << "no PRTG document, yet no RFC error report:\n"
                                    << outcome.out;
  }
}

std::string CaseName(const ::testing::TestParamInfo<HostileCase>& info) {
  return info.param.file->name + "_" + info.param.form->name;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryForm, HostileInput, ::testing::ValuesIn(AllCases()),
                         CaseName);

TEST(HostileCommandLine, LongEmptyAndKeywordOnlyArguments) {
  const std::string long_text(10'000, 'A');
  const std::vector<std::vector<std::string>> command_lines = {
      {long_text},
      {"PRD", long_text},
      {"PRD", long_text, long_text},
      {""},
      {"PRD", ""},
      {"PRD", "", ""},
      {"", "", ""},
      {"PRD", "ITEM="},
      {"PRD", "#@$%"},
      {"PRD", "CH=,HOST=,NO=,SYSLOG"},
      {"PRD", "ITEM=,HOST=,NO=", "CH=#"},
      {"GLOBAL", "ITEM=" + long_text},
      {"GLOBAL", std::string(10'000, '#')},
  };
  for (const std::vector<std::string>& arguments : command_lines) {
    Outcome outcome = RunSensor(Installation(arguments));
    std::string document = PrtgPart(outcome.out);
    if (!document.empty()) {
      EXPECT_TRUE(IsWellFormedXml(document));
    }
  }
}

TEST(HostileInput, UnreadableFiles) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root, which reads any file whatever its mode";
  for (const HostileFile& file : Files()) {
    Scenario scenario = Installation(file.arguments);
    if (!file.extra_file.empty()) scenario.files[file.extra_file] = file.extra_content;
    scenario.unreadable.push_back(file.path);
    Outcome outcome = RunSensor(scenario);
    std::string document = PrtgPart(outcome.out);
    if (!document.empty()) {
      EXPECT_TRUE(IsWellFormedXml(document)) << file.name;
    }
  }
}

}  // namespace
}  // namespace e2e
