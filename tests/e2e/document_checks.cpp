#include "tests/e2e/document_checks.h"

#include <nlohmann/json.hpp>

#include <array>
#include <regex>
#include <set>

#include "tests/support/child_process.h"

namespace e2e {
namespace {

// The guidelines' performance data: a quoted label without quotes or
// equals signs, a number, a unit of the guidelines' list, then warning and
// critical ranges ([@][start:][end], "~" for minus infinity), minimum and
// maximum, each of them may be empty and the trailing ones left off.
const std::string kNumber = R"(-?[0-9]+(\.[0-9]+)?)";
const std::string kRange = "@?((" + kNumber + "|~)?:)?(" + kNumber + ")?";
const std::string kPerformanceData = "'[^'=]+'=" + kNumber + "(s|ms|us|%|B|KB|MB|TB|c)?" + "(;" +
                                     kRange + "(;" + kRange + "(;(" + kNumber + ")?(;(" + kNumber +
                                     ")?)?)?)?)?";

// The interpreter that has Debian's python3-jsonschema.
constexpr const char* kSchemaPython = "/usr/bin/python3";
constexpr const char* kValidate =
    "import json, sys\n"
    "import jsonschema\n"
    "with open(sys.argv[1]) as schema:\n"
    "    jsonschema.validate(json.loads(sys.stdin.read()), json.load(schema))\n";

}  // namespace

::testing::AssertionResult IsNagiosAnswer(std::string_view out, int exit_code) {
  static const std::regex line("MAXDB (OK|WARNING|CRITICAL|UNKNOWN) - [^|\n]*( \\| " +
                               kPerformanceData + "( " + kPerformanceData + ")*)?\n");
  static constexpr std::array<std::string_view, 4> kStates = {"OK", "WARNING", "CRITICAL",
                                                              "UNKNOWN"};
  std::match_results<std::string_view::const_iterator> match;
  if (!std::regex_match(out.begin(), out.end(), match, line)) {
    return ::testing::AssertionFailure() << "not one status line with performance data:\n" << out;
  }
  if (exit_code < 0 || exit_code > 3 || match[1].str() != kStates[exit_code]) {
    return ::testing::AssertionFailure()
           << "state " << match[1].str() << " with exit code " << exit_code << ":\n"
           << out;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsScriptV2Answer(std::string_view out, int exit_code) {
  if (exit_code != 0) return ::testing::AssertionFailure() << "exit code " << exit_code;
  if (!out.ends_with("}\n") || out.find('\n') != out.size() - 1) {
    return ::testing::AssertionFailure() << "not one document on one line:\n" << out;
  }
  ChildProcessRequest request;
  request.argv = {kSchemaPython, "-c", kValidate,
                  BRACKWATER_SOURCE_DIR "/docs/script-v2-schema.json"};
  request.environment = InheritedEnvironment({});
  request.standard_input = std::string(out);
  ChildProcessResult result = RunChildProcess(request);
  if (result.exit_code != 0) {
    return ::testing::AssertionFailure()
           << "python3-jsonschema (exit " << result.exit_code << ") finds:\n"
           << result.err << "in the document:\n"
           << out;
  }
  std::set<long long> ids;
  const nlohmann::json document = nlohmann::json::parse(out);
  for (const nlohmann::json& channel : document.value("channels", nlohmann::json::array())) {
    if (!ids.insert(channel["id"].get<long long>()).second) {
      return ::testing::AssertionFailure() << "channel id " << channel["id"] << " twice:\n" << out;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsWellFormedXml(std::string_view document) {
  ChildProcessRequest request;
  request.argv = {"xmllint", "--noout", "-"};
  request.environment = InheritedEnvironment({});
  request.standard_input = std::string(document);
  ChildProcessResult result = RunChildProcess(request);
  if (result.exit_code == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "xmllint (exit " << result.exit_code << ", signal " << result.signal << ") finds:\n"
         << result.err << "in the document:\n"
         << document;
}

std::string MaskTimes(std::string text) {
  static const std::regex time_of_day(R"(\d\d:\d\d:\d\d)");
  return std::regex_replace(text, time_of_day, "hh:mm:ss");
}

std::string PrtgErrorDocument(std::string_view escaped_message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(escaped_message) + "</Text>\n</Prtg>\n";
}

bool IsPrtgErrorDocument(std::string_view text) {
  constexpr std::string_view head = "<Prtg>\n<Error>1</Error>\n<Text>";
  constexpr std::string_view tail = "</Text>\n</Prtg>\n";
  return text.size() >= head.size() + tail.size() && text.starts_with(head) && text.ends_with(tail);
}

}  // namespace e2e
