#include "rfc/open_connection.h"
#include "rfc/library_files.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include "config/file_names.h"
#include "output/texts.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/leading_number.h"
#include "platform/upper_case.h"
#include "rfc/trace_line.h"

namespace rfc {
namespace {

constexpr std::string_view kGatewayMode = "R/2";
// Closes the console line that names the destination file.
constexpr std::string_view kSapRfcIniLineEnd = "<\n";

// The logon record wants user and password at least this wide.
constexpr std::size_t kUserWidth = 12;
constexpr std::size_t kPasswordWidth = 10;

constexpr int kApplicationServerMode = 0;
constexpr int kGatewayModeCode = 1;

void PadWithBlanks(std::string& text, std::size_t width) {
  if (text.size() < width) {
    text.append(width - text.size(), ' ');
  }
}

// Null for an empty text: the library reads a missing field as "not given".
const char* AbsentWhenEmpty(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

// The characters that part the words of RfcOpenEx's connection text.
constexpr std::string_view kConnectionTextBlanks = " \t";

const platform::SystemText& PasswordOf(const Logon& logon) {
  return std::visit([](const auto& way) -> const platform::SystemText& { return way.password; },
                    logon);
}

void FillRecords(const AddressLogon& logon, std::string password, ConnectionRecords& records) {
  AddressLogon& copy = records.logon;
  copy = logon;
  PadWithBlanks(copy.user, kUserWidth);
  records.password = std::move(password);
  PadWithBlanks(records.password, kPasswordWidth);

  OpenOptions& options = records.options;
  options.destination = copy.destination.c_str();
  options.client = copy.client.c_str();
  options.user = copy.user.c_str();
  options.password = records.password.c_str();
  options.language = copy.language.c_str();
  if (copy.mode == kGatewayMode) {
    options.mode = kGatewayModeCode;
    records.gateway = {AbsentWhenEmpty(copy.gateway_host), AbsentWhenEmpty(copy.gateway_service)};
    options.connection = &records.gateway;
  } else {
    options.mode = kApplicationServerMode;
    records.server = {AbsentWhenEmpty(copy.host), platform::LeadingInt(copy.system_number),
                      AbsentWhenEmpty(copy.gateway_host), AbsentWhenEmpty(copy.gateway_service)};
    options.connection = &records.server;
  }
  options.trace = 0;
}

// Copies the destination file to the library's "SapRfc.ini", replacing it;
// false when "SapRfc.ini" cannot be written whole. A copy cut short is
// removed: the library must never log on through half an entry.
bool WriteSapRfcIni(std::FILE* destination_file) {
  platform::UniqueFile ini = platform::CreateForWriting(SapRfcIniPath());
  if (!ini) {
    return false;
  }
  bool whole = true;
  for (int c = std::getc(destination_file); c != EOF && whole; c = std::getc(destination_file)) {
    whole = std::putc(c, ini.get()) != EOF;
  }
  whole = !std::ferror(destination_file) && whole;
  whole = std::fclose(ini.release()) == 0 && whole;
  if (!whole) {
    platform::RemoveFile(SapRfcIniPath());
  }
  return whole;
}

bool IsLibraryFileItself(std::string_view destination) {
  return platform::UpperCase(destination) == "INI";
}

}  // namespace

std::optional<Logon> PrepareLogon(const AddressLogon& address,
                                  const std::function<void(std::string_view)>& console) {
  std::string destination_file_name = std::string(config::file_names::kDestinationFilePrefix);
  destination_file_name.append(address.destination);
  platform::UniqueFile destination_file = platform::OpenForReading(destination_file_name);
  if (!destination_file) {
    return Logon{address};
  }
  // A progress line like the others: outside console mode the monitor reads
  // standard output as the result document, which a line ahead would break.
  if (console) {
    console(std::string(output::texts::kSapRfcIniLine)
                .append(address.destination)
                .append(kSapRfcIniLineEnd));
  }
  // The destination "ini" names "SapRfc.ini" itself: it is in place already,
  // and creating the copy would empty it.
  if (!IsLibraryFileItself(address.destination) && !WriteSapRfcIni(destination_file.get())) {
    return std::nullopt;
  }
  return Logon{
      DestinationLogon{address.client, address.user, address.password, address.destination}};
}

std::optional<PasswordRefusal> RefusedByConnection(const Logon& logon) {
  const std::optional<std::string> password = platform::AnsiText(PasswordOf(logon));
  if (!password) return PasswordRefusal::kOutsideCodePage;
  if (std::holds_alternative<DestinationLogon>(logon) &&
      password->find_first_of(kConnectionTextBlanks) != std::string::npos) {
    return PasswordRefusal::kBlankInConnectionText;
  }
  return std::nullopt;
}

RfcHandle OpenConnection(RfcLibrary& library, const Logon& logon, const TraceWriter& trace,
                         ConnectionRecords& records) {
  if (RefusedByConnection(logon)) return 0;
  std::string password = *platform::AnsiText(PasswordOf(logon));
  if (const auto* address = std::get_if<AddressLogon>(&logon)) {
    FillRecords(*address, std::move(password), records);
    const RfcHandle handle = library.Open(&records.options);
    WriteTraceLine(trace, static_cast<int>(handle), trace_events::kOpenCalled, "");
    return handle;
  }
  const auto& destination = std::get<DestinationLogon>(logon);
  // The profile's texts as read, not padded; the entry in "SapRfc.ini"
  // supplies the address, and the logon language is always D.
  records.connection_text = "CLIENT=" + destination.client + " USER=" + destination.user +
                            " PASSWD=" + password + " LANG=D DEST=" + destination.destination;
  records.error_info = RfcErrorInfoEx{};
  const RfcHandle handle = library.OpenEx(records.connection_text.c_str(), &records.error_info);
  WriteTraceLine(trace, static_cast<int>(handle), trace_events::kOpenExCalled, "");
  return handle;
}

}  // namespace rfc
