#include "rfc/open_connection.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string_view>

#include "include/texts.h"
#include "platform/files.h"
#include "rfc/trace_line.h"

namespace {

constexpr std::string_view kHostOverride = ",HOST=";
constexpr std::string_view kNumberOverride = ",NO=";
constexpr std::string_view kGatewayMode = "R/2";
// Closes the console line that names the destination file.
constexpr std::string_view kSapRfcIniLineEnd = "<\n";

// The logon record wants user and password at least this wide.
constexpr std::size_t kUserWidth = 12;
constexpr std::size_t kPasswordWidth = 10;

constexpr int kApplicationServerMode = 0;
constexpr int kGatewayModeCode = 1;

// The value of an option keyword: the keyword is found in the upper-cased
// options, the value read at the same place of the options as given, up to
// the next "," or blank. No value when the keyword is missing.
std::optional<std::string> OptionValue(const RunState& run, std::string_view keyword) {
  const std::size_t at = run.RunOptions.find(keyword);
  if (at == std::string::npos) {
    return std::nullopt;
  }
  const std::string_view original = run.RunOptionsOriginal;
  const std::size_t from = std::min(at + keyword.size(), original.size());
  const std::size_t end = std::min(original.find_first_of(", ", from), original.size());
  return std::string(original.substr(from, end - from));
}

void PadWithBlanks(std::string& text, std::size_t width) {
  if (text.size() < width) {
    text.append(width - text.size(), ' ');
  }
}

// Null for an empty text: the library reads a missing field as "not given".
const char* AbsentWhenEmpty(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

// The system number text read as C's atoi reads it (leading blanks, a sign,
// the leading digits; 0 for none), held to the int range.
int SystemNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string_view::npos) {
    return 0;
  }
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  long long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = std::min(number * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  number = negative ? -number : std::min(number, static_cast<long long>(INT_MAX));
  return static_cast<int>(number);
}

void FillRecords(const RunState& run, ConnectionRecords& records) {
  const ConnectionProfile& profile = run.Profile;
  records.destination = profile.Destination;
  records.client = profile.Client;
  records.user = profile.User;
  records.password = profile.Password;
  records.language = profile.Language;
  records.mode = profile.Mode;
  records.host = profile.Hostname;
  records.system_number = profile.Sysnr;
  records.gateway_host = profile.Gwhost;
  records.gateway_service = profile.Gwservice;

  if (std::optional<std::string> host = OptionValue(run, kHostOverride)) {
    records.host = *host;
  }
  if (std::optional<std::string> number = OptionValue(run, kNumberOverride)) {
    records.system_number = *number;
  }
  PadWithBlanks(records.user, kUserWidth);
  PadWithBlanks(records.password, kPasswordWidth);

  OpenOptions& options = records.options;
  options.destination = records.destination.c_str();
  options.client = records.client.c_str();
  options.user = records.user.c_str();
  options.password = records.password.c_str();
  options.language = records.language.c_str();
  if (records.mode == kGatewayMode) {
    options.mode = kGatewayModeCode;
    records.gateway = {AbsentWhenEmpty(records.gateway_host),
                       AbsentWhenEmpty(records.gateway_service)};
    options.connection = &records.gateway;
  } else {
    options.mode = kApplicationServerMode;
    records.server = {AbsentWhenEmpty(records.host), SystemNumber(records.system_number),
                      AbsentWhenEmpty(records.gateway_host),
                      AbsentWhenEmpty(records.gateway_service)};
    options.connection = &records.server;
  }
  options.trace = 0;
}

// Copies the destination file to the library's "SapRfc.ini", replacing it;
// false when "SapRfc.ini" cannot be created.
bool WriteSapRfcIni(std::FILE* destination_file) {
  platform::UniqueFile ini = platform::CreateForWriting(file_names::kSapRfcIni);
  if (!ini) {
    return false;
  }
  for (int c = std::getc(destination_file); c != EOF; c = std::getc(destination_file)) {
    std::putc(c, ini.get());
  }
  return true;
}

bool IsLibraryFileItself(std::string_view destination) {
  constexpr std::string_view kIni = "INI";
  return destination.size() == kIni.size() &&
         std::equal(destination.begin(), destination.end(), kIni.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

}  // namespace

RfcHandle OpenConnection(RunState& run, RunServices& services, ConnectionRecords& records) {
  FillRecords(run, records);
  const ConnectionProfile& profile = run.Profile;

  std::string destination_file_name = std::string(file_names::kDestinationFilePrefix);
  destination_file_name.append(profile.Destination);
  platform::UniqueFile destination_file = platform::OpenForReading(destination_file_name);
  if (!destination_file) {
    const RfcHandle handle = services.rfc.Open(&records.options);
    WriteTraceLine(run, services, handle, trace_events::kOpenCalled, "");
    return handle;
  }

  // A progress line like the others: outside console mode the monitor reads
  // standard output as the result document, which a line ahead would break.
  if (run.ConsoleMode) {
    services.out.Write(
        std::string(texts::kSapRfcIniLine).append(profile.Destination).append(kSapRfcIniLineEnd));
  }
  // The destination "ini" names "SapRfc.ini" itself: it is in place already,
  // and creating the copy would empty it.
  if (!IsLibraryFileItself(profile.Destination) && !WriteSapRfcIni(destination_file.get())) {
    return 0;
  }
  destination_file.reset();

  // The profile's texts as read, not padded; the entry in "SapRfc.ini"
  // supplies the address, and the logon language is always D.
  records.connection_text = "CLIENT=" + profile.Client + " USER=" + profile.User +
                            " PASSWD=" + profile.Password + " LANG=D DEST=" + profile.Destination;
  records.error_info = RfcErrorInfoEx{};
  const RfcHandle handle =
      services.rfc.OpenEx(records.connection_text.c_str(), &records.error_info);
  WriteTraceLine(run, services, handle, trace_events::kOpenExCalled, "");
  return handle;
}

RfcHandle OpenConnection(RunState& run, RunServices& services) {
  static ConnectionRecords run_records;
  return OpenConnection(run, services, run_records);
}
