// The install guide's example lines, run as an administrator runs them:
// the lab's lines on the lab's files, the parameter lines as PRTG passes
// them, and the trace example against what the program prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/sensor_target.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Guide() { return ReadWhole(BRACKWATER_SOURCE_DIR "/docs/install-guide.md"); }

// The example blocks (lines indented by four blanks, without the indent) of
// the guide's section that begins with the heading line `heading`, up to
// the next heading.
std::vector<std::vector<std::string>> ExampleBlocks(const std::string& guide,
                                                    std::string_view heading) {
  std::vector<std::vector<std::string>> blocks;
  const std::size_t start = guide.find("\n" + std::string(heading));
  if (start == std::string::npos) return blocks;
  std::istringstream section(guide.substr(start + 1));
  std::string line;
  std::getline(section, line);  // the heading
  bool in_block = false;
  while (std::getline(section, line) && !line.starts_with("#")) {
    const bool block_line = line.starts_with("    ");
    if (block_line && !in_block) blocks.emplace_back();
    if (block_line) blocks.back().push_back(line.substr(4));
    in_block = block_line;
  }
  return blocks;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The files of the package's lab folder: the demo sensor directory's,
// without the demo's history (the lab has none).
std::map<std::string, std::string> LabFiles(const std::string& into) {
  const std::filesystem::path demo =
      std::filesystem::path(BRACKWATER_SOURCE_DIR) /
      "demo/drives/C/PRTG/PRTG Network Monitor/Custom Sensors/ExeXml";
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(demo)) {
    if (entry.path().extension() == ".hst") continue;
    files[into + "\\" + entry.path().filename().string()] = ReadWhole(entry.path());
  }
  return files;
}

// The run a lab line describes: the program's arguments, the prompt's
// variables set before it, and what the guide says comes of it.
struct LabLine {
  std::vector<std::string> arguments;
  std::map<std::string, std::string> environment;
  std::string result;
};

// The lab's command lines: blocks of "brackwater.exe ..." lines, each with
// its result after a gap of blanks and continued on lines that begin with
// blanks, and "set" lines that give the following lines their variables.
std::vector<LabLine> LabLines(const std::string& guide) {
  constexpr std::string_view kProgram = "brackwater.exe ";
  constexpr std::string_view kSet = "set prtg_";
  std::vector<LabLine> lines;
  for (const std::vector<std::string>& block :
       ExampleBlocks(guide, "## 8. Trying the sensor without SAP")) {
    const bool runs = std::all_of(block.begin(), block.end(), [&](const std::string& line) {
      return line.starts_with(kProgram) || line.starts_with(kSet) || line.starts_with(" ");
    });
    if (!runs) continue;
    std::map<std::string, std::string> environment;
    for (const std::string& line : block) {
      if (line.starts_with(kSet)) {
        const std::size_t equals = line.find('=');
        environment[line.substr(4, equals - 4)] = line.substr(equals + 1);
      } else if (line.starts_with(kProgram)) {
        const std::size_t gap = line.find("  ");
        lines.push_back(
            {Words(line.substr(kProgram.size(), gap - kProgram.size())), environment,
             gap == std::string::npos ? "" : line.substr(line.find_first_not_of(' ', gap))});
      } else if (!lines.empty()) {
        lines.back().result += " " + line.substr(line.find_first_not_of(' '));
      }
    }
  }
  return lines;
}

const std::regex kSystemsFailed("Failed=[1-9]");

void ExpectAnswered(const Outcome& outcome, const std::string& what) {
  EXPECT_EQ(outcome.exit_code, 0) << what << "\n" << outcome.out;
  EXPECT_THAT(outcome.out, Not(HasSubstr("<Error>"))) << what;
  EXPECT_FALSE(std::regex_search(outcome.out, kSystemsFailed)) << what << "\n" << outcome.out;
}

// Every lab line gives what the guide says: its error message and exit code
// 2, or a measurement (every system of a listing measured). A line that
// takes PRTG's credentials fails with any other password, as the guide says.
TEST(InstallGuide, LabLinesDoWhatTheGuideSays) {
  const std::string lab = "C:\\Temp\\brackwater-lab";
  const std::vector<LabLine> lines = LabLines(Guide());
  ASSERT_EQ(lines.size(), 11u);
  for (const LabLine& line : lines) {
    std::string what;
    for (const std::string& word : line.arguments) what += word + " ";
    SCOPED_TRACE(what);
    const Outcome outcome = RunSensor({.arguments = line.arguments,
                                       .files = LabFiles(lab),
                                       .environment = line.environment,
                                       .working_directory = lab});
    if (line.result.starts_with("Error ")) {
      EXPECT_THAT(outcome.out, HasSubstr("<Text>" + line.result + "</Text>"));
      EXPECT_EQ(outcome.exit_code, 2);
      continue;
    }
    ExpectAnswered(outcome, what);
    if (line.environment.contains("prtg_windowspassword")) {
      std::map<std::string, std::string> other = line.environment;
      other["prtg_windowspassword"] = "Not-The-Lab7";
      const Outcome refused = RunSensor({.arguments = line.arguments,
                                         .files = LabFiles(lab),
                                         .environment = other,
                                         .working_directory = lab});
      EXPECT_TRUE(refused.out.find("Error 1011: RFC-Open for PRD failed !") != std::string::npos ||
                  refused.out.find("Processed=0, Failed=2") != std::string::npos)
          << refused.out;
    }
  }
}

// The full parameter lines of the PRTG section, each word an argument as
// PRTG passes them, on the lab's files in PRTG's sensor directory with the
// lab's shared account as PRTG's credentials: each keyword takes effect.
TEST(InstallGuide, ParameterLinesTakeEveryKeyword) {
  const std::string sensors = std::string(kSensorDirectory);
  auto blocks = ExampleBlocks(Guide(), "### Several options in the Parameters");
  ASSERT_EQ(blocks.size(), 2u);
  const auto side_by_side = ExampleBlocks(Guide(), "### Many systems in one sensor");
  ASSERT_EQ(side_by_side.size(), 1u);
  blocks.insert(blocks.end(), side_by_side.begin(), side_by_side.end());
  for (const auto& block : blocks) {
    ASSERT_EQ(block.size(), 1u);
    SCOPED_TRACE(block[0]);
    const std::vector<std::string> words = Words(block[0]);
    std::map<std::string, std::string> files = LabFiles(sensors);
    files[std::string(kPrtgPathFile)] = "D:\\PRTG\r\n";
    const std::map<std::string, std::string> shared = {{"prtg_windowsuser", "PRTGPROBE"},
                                                       {"prtg_windowspassword", "Lab-Probe7"}};
    const Outcome outcome = RunSensor(
        {.arguments = words, .files = files, .environment = shared, .working_directory = sensors});
    ExpectAnswered(outcome, block[0]);
    if (block[0].find("LIMITS=80/90") != std::string::npos) {
      EXPECT_THAT(outcome.out, HasSubstr("<LimitMaxWarning>80</LimitMaxWarning>"));
    }
    if (block[0].find("FORECAST") != std::string::npos) {
      EXPECT_THAT(outcome.out, HasSubstr("<Channel>Days Until Full</Channel>"));
    }
    // Side by side, the answer of the run one after another.
    if (block[0].find("PARALLEL=") != std::string::npos) {
      std::vector<std::string> one_after_another;
      for (const std::string& word : words) {
        if (!word.starts_with("PARALLEL=")) one_after_another.push_back(word);
      }
      const Outcome sequential = RunSensor({.arguments = one_after_another,
                                            .files = files,
                                            .environment = shared,
                                            .working_directory = sensors});
      EXPECT_EQ(outcome.out, sequential.out);
      EXPECT_THAT(outcome.out, HasSubstr("Processed="));
    }
    // PRTG's credentials, not the profiles' accounts: another password fails.
    const Outcome refused = RunSensor({.arguments = words,
                                       .files = files,
                                       .environment = {{"prtg_windowsuser", "PRTGPROBE"},
                                                       {"prtg_windowspassword", "Not-The-Lab7"}},
                                       .working_directory = sensors});
    EXPECT_TRUE(refused.out.find("Error 1011: RFC-Open for PRD failed !") != std::string::npos ||
                refused.out.find("Processed=0, Failed=2") != std::string::npos)
        << refused.out;
  }
}

// What the guide shows of an answer: the whole line, or its beginning where
// the guide cuts it with "...".
std::string ShownPart(const std::string& line) {
  const std::size_t cut = line.find("...");
  if (cut == std::string::npos) return line + "\n";
  return line.substr(0, line.find_last_not_of(" ,", cut - 1) + 1);
}

// The command an agent runs, after the program's name: each word an argument,
// a quoted path one argument without its quotes.
std::vector<std::string> AgentArguments(const std::string& line) {
  constexpr std::string_view kProgram = "brackwater.exe ";
  std::string rest = line.substr(line.find(kProgram) + kProgram.size());
  std::vector<std::string> arguments;
  if (rest.starts_with("\"")) {
    const std::size_t end = rest.find('"', 1);
    arguments.push_back(rest.substr(1, end - 1));
    rest.erase(0, end + 1);
  }
  for (std::string& word : Words(rest)) arguments.push_back(std::move(word));
  return arguments;
}

// The other monitors' section: the answers it shows are what the program
// prints in the lab, and the command lines it gives the agents and PRTG's
// Script v2 sensor measure, every option taking effect.
TEST(InstallGuide, OtherMonitorsGetWhatTheGuideShows) {
  auto blocks = ExampleBlocks(Guide(), "### Nagios, Icinga 2 and Checkmk");
  const auto script_v2_blocks = ExampleBlocks(Guide(), "### PRTG's Script v2 sensor");
  blocks.insert(blocks.end(), script_v2_blocks.begin(), script_v2_blocks.end());
  const std::string folder = "C:\\Brackwater";
  const std::string scripts =
      "C:\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\scripts\\brackwater";
  // The agents start the program in the profiles' folder here; PRTG's probe
  // the Script v2 program in its scripts folder, where the profiles lie too.
  const auto run = [&](const std::string& flavour, std::vector<std::string> arguments,
                       std::map<std::string, std::string> environment = {}) {
    environment["BRACKWATER_FLAVOUR"] = flavour;
    const std::string& directory = flavour == "ScriptV2" ? scripts : folder;
    return RunSensor({.arguments = std::move(arguments),
                      .files = LabFiles(directory),
                      .environment = environment,
                      .working_directory = directory});
  };
  int answers = 0;
  int commands = 0;
  for (const auto& block : blocks) {
    for (const std::string& line : block) {
      SCOPED_TRACE(line);
      if (line.starts_with("MAXDB OK")) {
        ++answers;
        EXPECT_THAT(run("Nagios", {"PRD", "LIMITS=80/90"}).out, StartsWith(ShownPart(line)));
      } else if (line.starts_with("MAXDB CRITICAL - Error 1011")) {
        ++answers;
        const Outcome refused =
            run("Nagios", {"PRD", "CRED=WINDOWS"},
                {{"prtg_windowsuser", "PRTGPROBE"}, {"prtg_windowspassword", "Not-The-Lab7"}});
        EXPECT_EQ(refused.out, ShownPart(line));
        EXPECT_EQ(refused.exit_code, 2);
      } else if (line.starts_with("{")) {
        ++answers;
        EXPECT_THAT(run("ScriptV2", {"PRD"}).out, StartsWith(ShownPart(line)));
      } else if (line.find("brackwater.exe ") != std::string::npos || line.starts_with("\"C:\\")) {
        ++commands;
        const bool script_v2 = line.starts_with("\"");
        const Outcome outcome =
            run(script_v2 ? "ScriptV2" : "Nagios",
                script_v2 ? AgentArguments("brackwater.exe " + line) : AgentArguments(line));
        EXPECT_EQ(outcome.exit_code, 0) << outcome.out;
        EXPECT_THAT(outcome.out,
                    StartsWith(script_v2 ? "{\"version\":2,\"status\":\"ok\"" : "MAXDB OK - "));
        EXPECT_THAT(outcome.out,
                    HasSubstr(script_v2 ? "\"name\":\"Days Until Full\"" : "'Days Until Full'="));
        EXPECT_THAT(outcome.out,
                    HasSubstr(script_v2 ? "\"id\":19," : "'Used Area [Prc]'=37%;80;90;"));
      }
    }
  }
  // The Icinga 2 example hands the options over as one argument.
  ++commands;
  const Outcome icinga = run("Nagios", {folder + "\\PRD", "LIMITS=80/90 FORECAST TIMEOUT=50"});
  EXPECT_THAT(icinga.out, StartsWith("MAXDB OK - "));
  EXPECT_THAT(icinga.out, HasSubstr("'Used Area [Prc]'=37%;80;90;"));
  EXPECT_EQ(answers, 3);
  EXPECT_EQ(commands, 4);
}

// The Linux program's part of the guide. Its paths are Linux paths; here
// they lie on the scenario's drive C:, where the program under test reads
// a path beginning with "/".
std::string OnDriveC(std::string_view linux_path) {
  std::string windows = "C:";
  for (char c : linux_path) windows += c == '/' ? '\\' : c;
  return windows;
}

// The files of a folder that holds the Linux program as the guide installs
// it: the lab's profiles, the stand-in library with its companion (in place
// of SAP's, whose SDK the guide registers with the loader), and more.
std::map<std::string, std::string> InstalledFiles(
    const std::string& folder, const std::map<std::string, std::string>& more = {}) {
  std::map<std::string, std::string> files = LabFiles(folder);
  const std::filesystem::path built = TargetUnderTest().Executable().parent_path();
  for (const char* library : {"libsapnwrfc.so", "libsapucum.so"}) {
    files[folder + "\\" + library] = ReadWhole(built / library);
  }
  for (const auto& [name, content] : more) files[folder + "\\" + name] = content;
  return files;
}

// The program at `linux_path` (a copy of the program under test, installed
// as above) started by a monitor from a working directory of its own.
Outcome RunInstalled(const std::string& linux_path, std::vector<std::string> arguments,
                     std::map<std::string, std::string> environment,
                     const std::map<std::string, std::string>& beside = {}) {
  const std::string program = OnDriveC(linux_path);
  const std::string folder = program.substr(0, program.rfind('\\'));
  std::map<std::string, std::string> files = InstalledFiles(folder, beside);
  // The simulated systems, which the stand-in reads in the working
  // directory: the network the monitor's computer reaches.
  const std::string working_directory = "C:\\work";
  files[working_directory + "\\rfcsim.json"] = files.at(folder + "\\rfcsim.json");
  return RunSensor({.arguments = std::move(arguments),
                    .files = std::move(files),
                    .environment = std::move(environment),
                    .working_directory = working_directory,
                    .executable = program});
}

// What a monitor's answer in the Nagios format must show of the guide's
// command lines: the measurement, the levels and the forecast.
void ExpectMonitorsAnswer(const Outcome& outcome) {
  EXPECT_EQ(outcome.exit_code, 0) << outcome.out << outcome.err;
  EXPECT_THAT(outcome.out, StartsWith("MAXDB OK - (PRD) DBase Filling: "));
  EXPECT_THAT(outcome.out, HasSubstr("'Used Area [Prc]'=37%;80;90;"));
  EXPECT_THAT(outcome.out, HasSubstr("'Days Until Full'="));
}

// The Linux lab, run as the guide says: in the lab folder with the variable
// set, each line gives what the guide writes after it, each answer shown is
// the start of what the program prints, and without the variable the
// library is not found.
TEST(InstallGuide, LinuxLabLinesDoWhatTheGuideSays) {
  if (!LinuxProgram()) GTEST_SKIP() << "the Linux program's lines";
  const auto blocks = ExampleBlocks(Guide(), "### The Linux lab");
  constexpr std::string_view kProgram = "../brackwater ";
  std::string lab;
  std::map<std::string, std::string> exported;
  std::vector<LabLine> lines;
  std::vector<std::string> answers;
  for (const std::vector<std::string>& block : blocks) {
    for (const std::string& line : block) {
      if (line.starts_with("cd ")) {
        lab = line.substr(3);
      } else if (line.starts_with("export ")) {
        const std::size_t equals = line.find('=');
        std::string value = line.substr(equals + 1);
        if (value.starts_with("$PWD")) value.replace(0, 4, lab);
        exported[line.substr(7, equals - 7)] = value;
      } else if (const std::size_t program = line.find(kProgram); program != std::string::npos) {
        LabLine run{.arguments = {}, .environment = exported, .result = {}};
        for (const std::string& word : Words(line.substr(0, program))) {
          run.environment[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
        }
        const std::size_t gap = line.find("  ", program);
        run.arguments =
            Words(line.substr(program + kProgram.size(), gap - program - kProgram.size()));
        if (gap != std::string::npos) run.result = line.substr(line.find_first_not_of(' ', gap));
        lines.push_back(std::move(run));
      } else if (line.starts_with(" ") && !lines.empty()) {
        lines.back().result += " " + line.substr(line.find_first_not_of(' '));
      } else if (line.starts_with("MAXDB ") || line.starts_with("{")) {
        answers.push_back(line);
      }
    }
  }
  ASSERT_EQ(lab, "/tmp/brackwater-4.3-linux-x86_64/lab");
  ASSERT_EQ(lines.size(), 11u);
  ASSERT_EQ(answers.size(), 2u);

  const std::string folder = OnDriveC(lab);
  const std::string program = folder.substr(0, folder.rfind('\\')) + "\\brackwater";
  const auto run = [&](const LabLine& line) {
    return RunSensor({.arguments = line.arguments,
                      .files = InstalledFiles(folder),
                      .environment = line.environment,
                      .working_directory = folder,
                      .executable = program});
  };
  std::size_t answer = 0;
  for (const LabLine& line : lines) {
    std::string what;
    for (const auto& [name, value] : line.environment) what += name + "=" + value + " ";
    for (const std::string& word : line.arguments) what += word + " ";
    SCOPED_TRACE(what);
    const Outcome outcome = run(line);
    if (line.result.starts_with("Error ")) {
      EXPECT_EQ(outcome.out,
                "<Prtg>\n<Error>1</Error>\n<Text>" + line.result + "</Text>\n</Prtg>\n");
      EXPECT_EQ(outcome.exit_code, 2);
    } else if (line.environment.contains("BRACKWATER_FLAVOUR")) {
      ASSERT_LT(answer, answers.size());
      EXPECT_THAT(outcome.out, StartsWith(ShownPart(answers[answer++])));
      EXPECT_EQ(outcome.exit_code, 0);
    } else {
      ExpectAnswered(outcome, what);
      if (line.arguments.back() == ",SYSLOG") {
        EXPECT_THAT(outcome.err, StartsWith("0 RFC library loaded "));
      }
    }
  }
  EXPECT_EQ(answer, answers.size());

  // The guide's line for a shell without the variable.
  const auto unset = ExampleBlocks(Guide(), "### The Linux lab").back();
  ASSERT_EQ(unset.size(), 1u);
  const LabLine without{.arguments = {"PRD"}, .environment = {}, .result = {}};
  EXPECT_EQ(run(without).out, "<Prtg>\n<Error>1</Error>\n<Text>" + unset[0] + "</Text>\n</Prtg>\n");
}

// The guide's errors for SAP's library as the loader's search finds it (or
// does not): none at all, and one whose companion is missing.
TEST(InstallGuide, LinuxLibraryErrorsAsTheGuideShowsThem) {
  if (!LinuxProgram()) GTEST_SKIP() << "the Linux program's lines";
  std::vector<std::string> errors;
  for (const auto& block : ExampleBlocks(Guide(), "### SAP's NetWeaver RFC SDK")) {
    if (block.size() == 1 && block[0].starts_with("Error 1031: ")) errors.push_back(block[0]);
  }
  ASSERT_EQ(errors.size(), 2u);
  const std::string program = "C:\\opt\\brackwater\\brackwater";
  const std::string sdk = "C:\\work\\nwrfcsdk\\lib";
  const auto run = [&](std::map<std::string, std::string> files) {
    files["C:\\work\\PRD.P00"] = LabFiles("C:\\work").at("C:\\work\\PRD.P00");
    return RunSensor({.arguments = {"PRD"},
                      .files = std::move(files),
                      .environment = {{"LD_LIBRARY_PATH", "nwrfcsdk/lib"}},
                      .executable = program})
        .out;
  };
  EXPECT_EQ(run({}), "<Prtg>\n<Error>1</Error>\n<Text>" + errors[0] + "</Text>\n</Prtg>\n");
  const std::map<std::string, std::string> without_companion = {
      {sdk + "\\libsapnwrfc.so",
       ReadWhole(TargetUnderTest().Executable().parent_path() / "libsapnwrfc.so")}};
  EXPECT_EQ(run(without_companion),
            "<Prtg>\n<Error>1</Error>\n<Text>" + errors[1] + "</Text>\n</Prtg>\n");
}

// The monitors' command lines of the Linux part, each run as its monitor
// starts it: the program and the profiles in the folder the guide names,
// the format from brackwater.flavour beside it or the check's environment,
// started from another working directory.
TEST(InstallGuide, LinuxMonitorsCommandLinesMeasure) {
  if (!LinuxProgram()) GTEST_SKIP() << "the Linux program's lines";
  const std::string guide = Guide();
  const std::map<std::string, std::string> nagios_flavour = {{"brackwater.flavour", "Nagios\n"}};

  // Nagios: $USER1$ as the guide names it for a Nagios built from source,
  // $ARG1$ from the service's check_command.
  std::string command_line, argument;
  const auto nagios = ExampleBlocks(guide, "### Nagios and Naemon");
  ASSERT_EQ(nagios.size(), 1u);
  for (const std::string& line : nagios[0]) {
    const std::vector<std::string> words = Words(line);
    if (words.size() > 1 && words[0] == "command_line") command_line = line;
    if (words.size() > 1 && words[0] == "check_command")
      argument = words[1].substr(words[1].find('!') + 1);
  }
  command_line =
      std::regex_replace(command_line, std::regex(R"(\$USER1\$)"), "/usr/local/nagios/libexec");
  command_line = std::regex_replace(command_line, std::regex(R"(\$ARG1\$)"), argument);
  std::vector<std::string> words = Words(command_line);
  ASSERT_GE(words.size(), 3u) << command_line;
  {
    SCOPED_TRACE(command_line);
    ExpectMonitorsAnswer(
        RunInstalled(words[1], {words.begin() + 2, words.end()}, {}, nagios_flavour));
  }

  // Icinga 2: PluginDir as Debian's packages set it; the profile and the
  // options each one argument, the format from the command's environment.
  const auto icinga_blocks = ExampleBlocks(guide, "### Icinga 2");
  ASSERT_EQ(icinga_blocks.size(), 1u);
  std::string icinga;
  for (const std::string& line : icinga_blocks[0]) icinga += line + "\n";
  std::smatch command, profile, options, flavour;
  ASSERT_TRUE(std::regex_search(icinga, command, std::regex(R"re(PluginDir \+ "([^"]+)")re")));
  ASSERT_TRUE(std::regex_search(icinga, profile,
                                std::regex(R"re(vars\.brackwater_profile = "([^"]+)")re")));
  ASSERT_TRUE(std::regex_search(icinga, options,
                                std::regex(R"re(vars\.brackwater_options = "([^"]+)")re")));
  ASSERT_TRUE(
      std::regex_search(icinga, flavour, std::regex(R"re("BRACKWATER_FLAVOUR" = "([^"]+)")re")));
  {
    SCOPED_TRACE(icinga);
    ExpectMonitorsAnswer(RunInstalled("/usr/lib/nagios/plugins" + command[1].str(),
                                      {profile[1].str(), options[1].str()},
                                      {{"BRACKWATER_FLAVOUR", flavour[1].str()}}));
  }

  // Checkmk's MRPE line: the service's name, then the command.
  const auto mrpe = ExampleBlocks(guide, "### Checkmk");
  ASSERT_EQ(mrpe.size(), 1u);
  words = Words(mrpe[0].at(0));
  {
    SCOPED_TRACE(mrpe[0][0]);
    ExpectMonitorsAnswer(
        RunInstalled(words.at(1), {words.begin() + 2, words.end()}, {}, nagios_flavour));
  }

  // PRTG's Script v2 sensor: the program and brackwater.flavour as the
  // guide's lines put them, the parameters as PRTG passes them.
  const auto prtg = ExampleBlocks(guide, "### PRTG's multi-platform probe");
  ASSERT_EQ(prtg.size(), 2u);
  std::string scripts, script_flavour;
  for (const std::string& line : prtg[0]) {
    words = Words(line);
    if (words.at(0) == "cp") scripts = words.at(2) + words.at(1);
    if (words.at(0) == "echo") script_flavour = words.at(1) + "\n";
  }
  ASSERT_EQ(prtg[1].size(), 1u);
  SCOPED_TRACE(prtg[1][0]);
  const Outcome script_v2 =
      RunInstalled(scripts, Words(prtg[1][0]), {}, {{"brackwater.flavour", script_flavour}});
  EXPECT_EQ(script_v2.exit_code, 0);
  EXPECT_THAT(script_v2.out, StartsWith("{\"version\":2,\"status\":\"ok\""));
  EXPECT_THAT(script_v2.out, HasSubstr("\"id\":19,"));
}

// The install guide's example of ",SYSLOG" shows what the program prints:
// the library loaded (a program that loads one) and the program first, then
// the steps.
TEST(InstallGuide, TraceExampleAsTheProgramPrintsIt) {
  // The guide's example that begins with these two lines, up to its "...".
  std::ifstream file(BRACKWATER_SOURCE_DIR "/docs/install-guide.md", std::ios::binary);
  std::vector<std::string> example;
  for (std::string line; std::getline(file, line);) {
    const bool example_line = line.starts_with("    ") && line != "    ...";
    if (example_line && (!example.empty() || line.starts_with("    0 RFC library loaded "))) {
      example.push_back(line.substr(4));
    } else if (example.size() >= 2 && example[1].starts_with("0 program started ")) {
      break;
    } else {
      example.clear();
    }
  }
  ASSERT_GE(example.size(), 3u);
  ASSERT_TRUE(example[1].starts_with("0 program started ")) << example[1];

  const SingleRunResult result = RunSingle({.arguments = {"PRD", "$,SYSLOG"}});
  std::vector<std::string> printed;
  std::istringstream err(result.outcome.err);
  for (std::string line; std::getline(err, line);) printed.push_back(line);
  std::size_t at = 0;
  if (!TargetUnderTest().RfcLibraryName().empty()) {
    ASSERT_FALSE(printed.empty());
    EXPECT_TRUE(printed[at++].starts_with("0 RFC library loaded "));
  }
  ASSERT_GT(printed.size(), at);
  EXPECT_TRUE(printed[at++].starts_with("0 program started "));
  for (std::size_t i = 2; i < example.size(); ++i, ++at) {
    ASSERT_GT(printed.size(), at);
    // The program ends each step's line with a blank.
    EXPECT_EQ(printed[at], example[i] + " ") << i;
  }
}

}  // namespace
}  // namespace e2e
