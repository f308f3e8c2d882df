#include "rfcsim/nw/nw_landscape.h"

#include <optional>

#include "rfcsim/files.h"
#include "rfcsim/json_fields.h"
#include "rfcsim/nw/utf16.h"

namespace rfcsim::nw {
namespace {

bool UnderAnswers(std::string_view pointer) {
  // "/systems/<n>/functions/..."
  constexpr std::string_view kSystems = "/systems/";
  if (pointer.substr(0, kSystems.size()) != kSystems) return false;
  const auto slash = pointer.find('/', kSystems.size());
  return slash != std::string_view::npos && pointer.substr(slash, 11) == "/functions/";
}

// "/systems/<n>/accounts/<i>/password".
bool IsAccountPassword(std::string_view pointer) {
  constexpr std::string_view kSystems = "/systems/";
  constexpr std::string_view kAccounts = "/accounts/";
  constexpr std::string_view kPassword = "/password";
  if (!pointer.starts_with(kSystems) || !pointer.ends_with(kPassword)) return false;
  const auto slash = pointer.find('/', kSystems.size());
  return slash != std::string_view::npos && pointer.substr(slash).starts_with(kAccounts) &&
         pointer.find('/', slash + kAccounts.size()) == pointer.size() - kPassword.size();
}

// Replaces every text of a function answer that goes beyond ISO 8859-1 by
// its single-byte stand-in ('?' per character) and notes it; every
// account's password becomes the engine's form of what the library is
// handed (EnginePassword), so that one beyond ISO 8859-1 logs on only when
// it arrives whole.
void Narrow(Json& value, const std::string& pointer, WideTexts& wide) {
  if (value.is_object()) {
    for (auto& [key, member] : value.items()) Narrow(member, pointer + "/" + key, wide);
  } else if (value.is_array()) {
    for (std::size_t i = 0; i < value.size(); ++i) {
      Narrow(value[i], pointer + "/" + std::to_string(i), wide);
    }
  } else if (value.is_string()) {
    const std::string& utf8 = value.get_ref<const std::string&>();
    if (IsAccountPassword(pointer)) {
      value = Latin1ToUtf8(EnginePassword(Utf8ToUtf16(utf8)));
      return;
    }
    // Elsewhere (names, user names, faults) the classic reader rejects it.
    if (!UnderAnswers(pointer) || Utf8ToLatin1(utf8)) return;
    const std::u16string text = Utf8ToUtf16(utf8);
    wide[pointer] = text;
    value = Latin1ToUtf8(Utf16ToLatin1(text));
  }
}

}  // namespace

NwLandscapeLoad ParseNwLandscape(std::string_view json_text, std::string_view source) {
  NwLandscapeLoad load;
  Json document;
  try {
    document = Json::parse(json_text, nullptr, true, /*ignore_comments=*/true);
  } catch (const Json::parse_error&) {
    // The classic reader words the syntax error.
    LandscapeLoad classic = ParseLandscape(json_text, source);
    load.problem = std::move(classic.problem);
    return load;
  }
  Narrow(document, "", load.wide_texts);
  LandscapeLoad classic = ParseLandscape(document.dump(), source);
  load.landscape = std::move(classic.landscape);
  load.problem = std::move(classic.problem);
  if (!load.problem.empty()) load.wide_texts.clear();
  return load;
}

NwLandscapeLoad LoadNwLandscapeFile(const std::string& path, bool must_exist) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    NwLandscapeLoad load;
    // The classic reader words the missing file.
    load.problem = LoadLandscapeFile(path, must_exist).problem;
    return load;
  }
  return ParseNwLandscape(*text, path);
}

std::string AnswerPointer(std::size_t system_index, std::string_view module) {
  return platform::Joined("/systems/", std::to_string(system_index), "/functions/", module, "/");
}

}  // namespace rfcsim::nw
