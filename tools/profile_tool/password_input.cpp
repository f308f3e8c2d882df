#include "tools/profile_tool/password_input.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

#include "config/password_scramble.h"
#include "config/profile_fields.h"
#include "config/profile_key.h"
#include "platform/joined.h"
#include "tools/profile_tool/console_echo.h"
#include "tools/profile_tool/tool_texts.h"

namespace profile_tool {

using platform::Joined;
using texts::kLead;
namespace {

// Puts the echo back however the reading ends.
class EchoRestorer {
 public:
  explicit EchoRestorer(std::function<void()> restore) : restore_(std::move(restore)) {}
  ~EchoRestorer() {
    if (restore_) restore_();
  }
  EchoRestorer(const EchoRestorer&) = delete;
  EchoRestorer& operator=(const EchoRestorer&) = delete;

 private:
  std::function<void()> restore_;
};

std::optional<std::string> ReadLine(std::istream& in) {
  std::string line;
  if (!std::getline(in, line)) {
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

std::optional<std::string> AskHidden(ToolConsole& console, std::string_view prompt) {
  console.err << prompt << std::flush;
  EchoRestorer restorer(SwitchOffInputEcho());
  std::optional<std::string> line = ReadLine(console.in);
  console.err << '\n';
  return line;
}

}  // namespace

std::optional<std::string> ReadPassword(ToolConsole& console) {
  if (!console.in_is_terminal) {
    std::optional<std::string> line = ReadLine(console.in);
    if (!line) {
      console.err << kLead << texts::kNoPasswordOnInput << '\n';
    }
    return line;
  }
  std::optional<std::string> first = AskHidden(console, texts::kPasswordPrompt);
  std::optional<std::string> second =
      first ? AskHidden(console, texts::kPasswordAgainPrompt) : first;
  if (!first || !second) {
    console.err << kLead << texts::kNoPasswordGiven << '\n';
    return std::nullopt;
  }
  if (*first != *second) {
    console.err << kLead << texts::kPasswordsDiffer << '\n';
    return std::nullopt;
  }
  return first;
}

std::optional<std::string> PasswordRefusal(std::string_view password) {
  const std::size_t shortest = config::kPasswordField.minimum_length;
  if (password.size() > config::kLongestPassword) {
    return Joined(texts::kPasswordLongerThan, config::kLongestPassword, texts::kCharacters);
  }
  if (!std::all_of(password.begin(), password.end(), config::IsPasswordCharacter)) {
    return std::string(texts::kPasswordCharacters);
  }
  if (password.size() < shortest) {
    return Joined(texts::kPasswordNeedsAtLeast, shortest, texts::kCharacters);
  }
  return std::nullopt;
}

std::optional<std::string> ScrambleForProfile(std::string_view password, std::optional<int> offset,
                                              std::mt19937& random, std::ostream& err) {
  if (std::optional<std::string> refusal = PasswordRefusal(password)) {
    err << kLead << *refusal << '\n';
    return std::nullopt;
  }
  if (!offset) {
    const std::vector<int> offsets = config::PrintableOffsets(password);
    if (offsets.empty()) {
      err << kLead << texts::kNoPrintableScrambling << '\n';
      return std::nullopt;
    }
    std::uniform_int_distribution<std::size_t> pick(0, offsets.size() - 1);
    offset = offsets[pick(random)];
  }
  auto scrambled =
      config::ScramblePassword(password, *offset, static_cast<std::uint32_t>(random()));
  if (const std::string* value = std::get_if<std::string>(&scrambled)) {
    return *value;
  }
  if (std::get<config::ScrambleRefusal>(scrambled) == config::ScrambleRefusal::kNotPrintable) {
    err << kLead << texts::kAtOffset << *offset << texts::kOffsetNotPrintable << '\n';
  } else {
    err << kLead << texts::kOffsetRange << config::kHighestOffset << '\n';
  }
  return std::nullopt;
}

}  // namespace profile_tool
