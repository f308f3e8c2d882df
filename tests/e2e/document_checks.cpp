#include "tests/e2e/document_checks.h"

#include <regex>

#include "tests/support/child_process.h"

namespace e2e {

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
