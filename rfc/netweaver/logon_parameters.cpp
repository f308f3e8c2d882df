#include "rfc/netweaver/logon_parameters.h"
#include "rfc/library_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <variant>

#include "output/texts.h"
#include "platform/files.h"
#include "platform/leading_number.h"
#include "platform/upper_case.h"
#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

constexpr std::string_view kGatewayMode = "R/2";
constexpr std::string_view kR2Type = "2";
constexpr std::string_view kDestinationKey = "DEST";

constexpr std::array<std::string_view, 11> kTextKeys = {
    "CLIENT", "USER",   "PASSWD", "LANG", "DEST",  "ASHOST",
    "SYSNR",  "GWHOST", "GWSERV", "TYPE", "TRACE",
};

using Words = std::map<std::string, std::string>;

const std::string* Find(const Words& words, const std::string& key) {
  const auto it = words.find(key);
  return it == words.end() ? nullptr : &it->second;
}

// "00".."99" for a system number of one or two digits; nothing otherwise.
std::optional<std::string> TwoDigitSystemNumber(std::string_view text) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  return text.size() == 1 ? "0" + std::string(text) : std::string(text);
}

std::string WithoutTrailingBlanks(std::string_view text) {
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

// The password as the library takes it: UTF-16, ISO 8859-1 bytes widened.
std::u16string PasswordText(const platform::SystemText& password) {
  if (const auto* bytes = std::get_if<std::string>(&password)) return Utf16FromLatin1(*bytes);
  return std::get<std::u16string>(password);
}

std::u16string WithoutTrailingBlanks(std::u16string text) {
  text.erase(text.find_last_not_of(u' ') + 1);
  return text;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The entry of `destination` in "SapRfc.ini", as the classic library reads
// it: from its "DEST=" line up to the next one, lines KEY=VALUE (LF or CR LF
// line ends) with keys in upper case, blanks around keys and values
// dropped, "*" lines skipped. Destination names compare exactly. Nothing
// when the file is missing or has no such entry.
std::optional<Words> FindDestination(std::string_view destination) {
  platform::UniqueFile file = platform::OpenForReading(rfc::SapRfcIniPath());
  if (!file) return std::nullopt;
  std::string text;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, read);

  std::optional<Words> entry;
  bool in_entry = false;
  for (std::size_t from = 0; from < text.size();) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = Trimmed(std::string_view(text).substr(from, end - from));
    from = end + 1;
    if (line.empty() || line.front() == '*') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key = platform::UpperCase(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (key == kDestinationKey) {
      if (entry) break;
      in_entry = value == destination;
      if (in_entry) entry.emplace();
    }
    if (in_entry) (*entry)[key] = std::string(value);
  }
  return entry;
}

// Blank-separated KEY=VALUE words; a refusal for a word without "=" or with
// an unknown key (named by its position or key, never by its value, which
// may be a password).
std::variant<Words, LogonRefusal> ParseWords(std::string_view text) {
  Words words;
  std::size_t position = 0;
  for (std::size_t from = text.find_first_not_of(' '); from != std::string_view::npos;
       from = text.find_first_not_of(' ', from)) {
    const std::string_view word = text.substr(from, text.find(' ', from) - from);
    from += word.size();
    ++position;
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos) {
      return LogonRefusal{"invalid connection text: word " + std::to_string(position) +
                          " is no KEY=VALUE"};
    }
    const std::string key = platform::UpperCase(word.substr(0, equals));
    if (std::find(kTextKeys.begin(), kTextKeys.end(), key) == kTextKeys.end()) {
      return LogonRefusal{"invalid connection text: unknown key '" + key + "'"};
    }
    words[key] = std::string(word.substr(equals + 1));
  }
  return words;
}

// The application-server address of `address` (the text's words or a
// SapRfc.ini entry) added to `parameters`; a refusal when it names none.
std::optional<LogonRefusal> AddAddress(const Words& address, std::string_view origin,
                                       LogonParameters& parameters) {
  const std::string* type = Find(address, "TYPE");
  const std::string* ashost = Find(address, "ASHOST");
  if ((type != nullptr && *type == kR2Type) || ashost == nullptr) {
    return LogonRefusal{std::string(origin) +
                        ": no ASHOST, gateway-only (R/2) logon not supported"};
  }
  const std::string* sysnr = Find(address, "SYSNR");
  const std::optional<std::string> number = TwoDigitSystemNumber(sysnr ? *sysnr : "0");
  if (!number) return LogonRefusal{std::string(origin) + " has an invalid SYSNR"};
  parameters.Add("ashost", *ashost);
  parameters.Add("sysnr", *number);
  if (const std::string* gwhost = Find(address, "GWHOST")) parameters.Add("gwhost", *gwhost);
  if (const std::string* gwserv = Find(address, "GWSERV")) parameters.Add("gwserv", *gwserv);
  return std::nullopt;
}

}  // namespace

void LogonParameters::Add(std::string_view name, std::string_view value) {
  parameters_.emplace_back(Utf16FromLatin1(name), Utf16FromLatin1(value));
}

void LogonParameters::Add(std::string_view name, std::u16string value) {
  parameters_.emplace_back(Utf16FromLatin1(name), std::move(value));
}

std::vector<::nw::RFC_CONNECTION_PARAMETER> LogonParameters::Records() const {
  std::vector<::nw::RFC_CONNECTION_PARAMETER> records;
  records.reserve(parameters_.size());
  for (const auto& [name, value] : parameters_) records.push_back({name.c_str(), value.c_str()});
  return records;
}

LogonRequest LogonFromAddress(const AddressLogon& logon) {
  if (logon.mode == kGatewayMode) {
    return LogonRefusal{
        "mode 1 (R/2, gateway only) has no counterpart in the NetWeaver RFC library"};
  }
  const long long number = platform::LeadingInt(logon.system_number);
  if (number < 0 || number > 99) {
    return LogonRefusal{"system number " + std::to_string(number) + " is not 0 to 99"};
  }
  LogonParameters parameters;
  if (!logon.host.empty()) parameters.Add("ashost", logon.host);
  parameters.Add("sysnr", *TwoDigitSystemNumber(std::to_string(number)));
  parameters.Add("client", logon.client);
  parameters.Add("user", WithoutTrailingBlanks(logon.user));
  parameters.Add("passwd", WithoutTrailingBlanks(PasswordText(logon.password)));
  parameters.Add("lang", logon.language);
  return parameters;
}

LogonRequest LogonFromDestination(const DestinationLogon& logon) {
  std::variant<Words, LogonRefusal> parsed = ParseWords(
      "CLIENT=" + logon.client + " USER=" + logon.user + " LANG=D DEST=" + logon.destination);
  if (auto* refusal = std::get_if<LogonRefusal>(&parsed)) return std::move(*refusal);
  const Words& words = std::get<Words>(parsed);

  LogonParameters parameters;
  std::optional<LogonRefusal> refusal;
  if (Find(words, "ASHOST") != nullptr || Find(words, "GWHOST") != nullptr) {
    refusal = AddAddress(words, "the connection text", parameters);
  } else {
    // The text always ends in a DEST word.
    const std::string& destination = *Find(words, "DEST");
    const std::optional<Words> entry = FindDestination(destination);
    if (!entry) return LogonRefusal{"destination '" + destination + "' not found in SapRfc.ini"};
    refusal = AddAddress(*entry, "destination '" + destination + "' in SapRfc.ini", parameters);
  }
  if (refusal) return std::move(*refusal);
  for (const auto& [key, name] : {std::pair{"CLIENT", "client"}, std::pair{"USER", "user"}}) {
    if (const std::string* value = Find(words, key)) parameters.Add(name, *value);
  }
  parameters.Add("passwd", WithoutTrailingBlanks(PasswordText(logon.password)));
  if (const std::string* value = Find(words, "LANG")) parameters.Add("lang", *value);
  return parameters;
}

}  // namespace rfc::nw
