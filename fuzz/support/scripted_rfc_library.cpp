#include "fuzz/support/scripted_rfc_library.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "fuzz/support/check.h"
#include "fuzz/support/scratch_layout.h"

namespace fuzz {
namespace {

using Bytes = std::vector<unsigned char>;

// Where the reads below leave their result, so that the optimiser keeps them.
volatile std::size_t read_sink;

// Reads every byte of a buffer the sensor hands over, so that the sanitizers
// check its extent.
void Touch(const void* address, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(address);
  std::size_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum += bytes[i];
  read_sink = sum;
}

// Reads a C text up to its terminator; null stands for an absent text.
void TouchText(const char* text) {
  if (text != nullptr) read_sink = std::strlen(text);
}

void Place(Bytes& bytes, std::size_t at, std::string_view text) {
  std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void PlaceInt(Bytes& bytes, std::size_t at, std::int32_t value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

// An 11-byte packed field: 21 digits and the sign nibble C or D.
void PlacePacked(Bytes& bytes, std::size_t at, std::int64_t value) {
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : value;
  std::array<unsigned char, 22> nibbles{};
  nibbles[21] = value < 0 ? 0xD : 0xC;
  for (int i = 20; i >= 0; --i, magnitude /= 10) nibbles[i] = magnitude % 10;
  for (std::size_t i = 0; i < 11; ++i) {
    bytes[at + i] = static_cast<unsigned char>(nibbles[2 * i] << 4 | nibbles[2 * i + 1]);
  }
}

// RFCSI of a MaxDB system: character fields, blank-filled.
Bytes HealthySystemInfo() {
  Bytes rfcsi(200, ' ');
  Place(rfcsi, 0, "011");
  Place(rfcsi, 3, "1100");
  Place(rfcsi, 7, "LIT");
  Place(rfcsi, 10, "IE3");
  Place(rfcsi, 13, "sapprd_PRD_00");
  Place(rfcsi, 45, "sapprd");
  Place(rfcsi, 53, "PRD");
  Place(rfcsi, 61, "PRD");
  Place(rfcsi, 69, "sapprd");
  Place(rfcsi, 101, "ADABAS D");
  Place(rfcsi, 111, "46C");
  Place(rfcsi, 120, "Windows NT");
  return rfcsi;
}

Bytes HealthyCpuRow() {
  Bytes row(48, 0);
  PlaceInt(row, 8, 4);
  return row;
}

Bytes HealthyHistoryRow() {
  Bytes row(104, 0);
  Place(row, 0, "DATA");
  return row;
}

Bytes HealthyFillingRow() {
  Bytes row(144, 0);
  Place(row, 0, "DATA");
  PlacePacked(row, 70, 2048000);
  PlacePacked(row, 81, 757760);
  PlaceInt(row, 92, 37);
  PlacePacked(row, 96, 737280);
  PlaceInt(row, 108, 36);
  PlacePacked(row, 112, 20480);
  PlaceInt(row, 124, 1);
  PlacePacked(row, 128, 1290240);
  PlaceInt(row, 140, 63);
  return row;
}

std::span<const unsigned char> AsBytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

constexpr std::string_view kTraceOfFailure =
    "**** TRACE FILE OPENED\n"
    "ERROR       partner not reached (host sapprd, service 3300)\n"
    "      ======> connection refused\n";
constexpr std::size_t kLongestTrace = 4096;
constexpr std::size_t kLongestException = 300;

}  // namespace

struct ScriptedRfcLibrary::Table {
  std::string name;
  unsigned row_length;
  std::vector<Bytes> rows;
  bool deleted = false;
};

ScriptedRfcLibrary::ScriptedRfcLibrary(const LibraryScript& script)
    : script_(script), answer_(script.answer) {}

ScriptedRfcLibrary::~ScriptedRfcLibrary() = default;

std::size_t ScriptedRfcLibrary::LiveTables() const {
  return static_cast<std::size_t>(std::count_if(tables_.begin(), tables_.end(),
                                                [](const auto& table) { return !table->deleted; }));
}

bool ScriptedRfcLibrary::Fails() { return ++operations_ == script_.failing_operation; }

void ScriptedRfcLibrary::LeaveTrace() {
  if (!script_.writes_trace_file) return;
  std::string trace(answer_.substr(0, kLongestTrace));
  answer_.remove_prefix(trace.size());
  if (trace.empty()) trace = kTraceOfFailure;
  // Where the library writes it: the working directory.
  WriteFile("Dev_Rfc.Trc", trace);
}

void ScriptedRfcLibrary::HandOut(unsigned char* out, std::size_t size,
                                 std::span<const unsigned char> fallback) {
  const std::size_t given = std::min(size, answer_.size());
  std::copy_n(answer_.begin(), given, out);
  answer_.remove_prefix(given);
  for (std::size_t i = given; i < size; ++i) out[i] = i < fallback.size() ? fallback[i] : 0;
}

void ScriptedRfcLibrary::HandOutText(char* out, std::size_t size, std::string_view fallback) {
  // A text field holds its fallback with its terminator, or answer bytes
  // that need not have one.
  std::string terminated(fallback.substr(0, size - 1));
  terminated.push_back('\0');
  HandOut(reinterpret_cast<unsigned char*>(out), size, AsBytes(terminated));
}

ScriptedRfcLibrary::Table& ScriptedRfcLibrary::LiveTable(ItabHandle handle) {
  auto found = std::find_if(tables_.begin(), tables_.end(),
                            [&](const auto& table) { return table.get() == handle; });
  Require(found != tables_.end(), "internal tables are used only as ItCreate made them");
  Require(!(*found)->deleted, "internal tables are not used after ItDelete");
  return **found;
}

void ScriptedRfcLibrary::RequireOpen(RfcHandle handle) const {
  Require(open_.contains(handle), "remote calls go over an open connection");
}

void ScriptedRfcLibrary::FillTable(Table& table, std::size_t rows,
                                   std::span<const unsigned char> fallback) {
  table.rows.clear();
  for (std::size_t i = 0; i < rows; ++i) {
    Bytes row(table.row_length);
    HandOut(row.data(), row.size(), fallback);
    table.rows.push_back(std::move(row));
  }
}

void ScriptedRfcLibrary::Environment(RfcErrorHandler error_handler) {
  Require(error_handler != nullptr, "an error handler is registered");
}

RfcHandle ScriptedRfcLibrary::Open(OpenOptions* options) {
  Require(options != nullptr, "RfcOpen gets a logon record");
  Touch(options, sizeof *options);
  TouchText(options->destination);
  TouchText(options->client);
  TouchText(options->user);
  TouchText(options->password);
  TouchText(options->language);
  if (options->mode == 0) {
    const auto* server = static_cast<const ServerAddress*>(options->connection);
    Require(server != nullptr, "an application-server logon has its address");
    TouchText(server->host);
    TouchText(server->gateway_host);
    TouchText(server->gateway_service);
  } else {
    Require(options->mode == 1, "the logon mode is 0 or 1");
    const auto* gateway = static_cast<const GatewayAddress*>(options->connection);
    Require(gateway != nullptr, "a gateway logon has its address");
    TouchText(gateway->gateway_host);
    TouchText(gateway->gateway_service);
  }
  if (Fails()) {
    LeaveTrace();
    return 0;
  }
  open_.insert(++next_handle_);
  return next_handle_;
}

RfcHandle ScriptedRfcLibrary::OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) {
  Require(connection_text != nullptr, "RfcOpenEx gets a connection text");
  TouchText(connection_text);
  if (Fails()) {
    // SAP's library may write the whole record: so does this one, so that
    // a smaller record handed in is caught.
    if (error_info != nullptr) std::memset(error_info, '?', sizeof(RfcErrorInfoEx));
    LeaveTrace();
    return 0;
  }
  open_.insert(++next_handle_);
  return next_handle_;
}

void ScriptedRfcLibrary::Close(RfcHandle handle) { open_.erase(handle); }

int ScriptedRfcLibrary::LastError(RfcErrorInfo* error_info) {
  Require(error_info != nullptr, "RfcLastError gets a record");
  HandOutText(error_info->key, sizeof error_info->key, "RFC_ERROR_COMMUNICATION");
  HandOutText(error_info->status, sizeof error_info->status, "CONNECT to SAP gateway failed");
  HandOutText(error_info->message, sizeof error_info->message, "partner not reached");
  HandOutText(error_info->internal_status, sizeof error_info->internal_status, "RFCIO_ERROR");
  return 0;
}

int ScriptedRfcLibrary::InstallStructure(const char* name, const RfcTypeElement* elements,
                                         unsigned element_count, RfcTypeHandle* type_handle) {
  Require(name != nullptr && type_handle != nullptr, "RfcInstallStructure gets its arguments");
  TouchText(name);
  for (unsigned i = 0; i < element_count; ++i) TouchText(elements[i].name);
  if (Fails()) {
    LeaveTrace();
    return 1;
  }
  *type_handle = ++next_type_;
  return 0;
}

int ScriptedRfcLibrary::Call(RfcHandle handle, const char* function, RfcParameter* exporting,
                             RfcTable* tables) {
  RequireOpen(handle);
  Require(function != nullptr, "RfcCall names a function");
  if (Fails()) {
    LeaveTrace();
    return script_.failure_code;
  }
  pending_function_ = function;
  for (RfcParameter* p = exporting; p != nullptr && p->name != nullptr; ++p) {
    Touch(p->address, p->length);
  }
  for (RfcTable* t = tables; t != nullptr && t->name != nullptr; ++t) LiveTable(t->table);
  return kRfcOk;
}

int ScriptedRfcLibrary::Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                                char** exception) {
  RequireOpen(handle);
  Require(!pending_function_.empty(), "RfcReceive follows RfcCall");
  pending_function_.clear();
  if (Fails()) {
    const int code = script_.failure_code;
    if ((code == kRfcException || code == kRfcSysException) && exception != nullptr) {
      if (script_.null_exception) {
        *exception = nullptr;
      } else {
        // The name runs to a line feed, so that an answer can go on with
        // the trace.
        const std::size_t end = std::min(answer_.find('\n'), kLongestException);
        exception_ = std::string(answer_.substr(0, end));
        answer_.remove_prefix(std::min(end + 1, answer_.size()));
        if (exception_.empty()) exception_ = "SYSTEM_FAILURE";
        *exception = exception_.data();
      }
    }
    LeaveTrace();
    return code;
  }
  static const Bytes system_info = HealthySystemInfo();
  for (RfcParameter* p = importing; p != nullptr && p->name != nullptr; ++p) {
    const bool rfcsi = std::string_view(p->name) == "RFCSI_EXPORT";
    HandOut(static_cast<unsigned char*>(p->address), p->length,
            rfcsi ? std::span<const unsigned char>(system_info) : std::span<const unsigned char>());
  }
  static const Bytes cpu_row = HealthyCpuRow();
  static const Bytes history_row = HealthyHistoryRow();
  static const Bytes filling_row = HealthyFillingRow();
  for (RfcTable* t = tables; t != nullptr && t->name != nullptr; ++t) {
    Table& table = LiveTable(t->table);
    const std::string_view name = t->name;
    if (name == "TF_CPU_ALL") FillTable(table, 1, cpu_row);
    if (name == "DEVSP_HIST") FillTable(table, 1, history_row);
    if (name == "DEVSTAT") FillTable(table, script_.filling_rows, filling_row);
  }
  return kRfcOk;
}

ItabHandle ScriptedRfcLibrary::ItCreate(const char* name, unsigned row_length) {
  Require(name != nullptr, "ItCreate names its table");
  if (Fails()) {
    LeaveTrace();
    return nullptr;
  }
  tables_.push_back(std::make_unique<Table>(Table{name, row_length, {}, false}));
  return tables_.back().get();
}

unsigned ScriptedRfcLibrary::ItFill(ItabHandle table) {
  return static_cast<unsigned>(LiveTable(table).rows.size());
}

void* ScriptedRfcLibrary::ItGetLine(ItabHandle table, unsigned row) {
  Table& live = LiveTable(table);
  if (Fails()) {
    LeaveTrace();
    return nullptr;
  }
  if (row < 1 || row > live.rows.size()) return nullptr;
  return live.rows[row - 1].data();
}

int ScriptedRfcLibrary::ItDelete(ItabHandle table) {
  Table& live = LiveTable(table);
  // Given up either way: a failed delete is an abort, and the sensor must
  // not try again.
  live.deleted = true;
  live.rows.clear();
  if (Fails()) {
    LeaveTrace();
    return 1;
  }
  return 0;
}

}  // namespace fuzz
