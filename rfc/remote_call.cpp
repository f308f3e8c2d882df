#include "rfc/remote_call.h"

#include <algorithm>
#include <cstring>

#include "rfc/trace_file_scan.h"
#include "rfc/trace_line.h"

namespace rfc {
namespace {

// The size the sensor has always reserved for an exception name, less its NUL.
constexpr std::size_t kExceptionLimit = 255;

constexpr const char* kInstallStructure = "RfcInstallStructure";

// A field of the error record: its text up to the NUL, never past the field.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, std::find(field, field + N, '\0'));
}

}  // namespace

RfcParameter Parameter(const char* name, unsigned type, unsigned length, void* address) {
  return RfcParameter{name, static_cast<unsigned>(std::strlen(name)), type, length, address};
}

RfcTable Table(const char* name, RfcTypeHandle type, unsigned row_length, ItabHandle table) {
  RfcTable entry{};
  entry.name = name;
  entry.name_length = static_cast<unsigned>(std::strlen(name));
  entry.type = type;
  entry.row_length = row_length;
  entry.table = table;
  return entry;
}

void InstallStructureOnce(RfcLibrary& library, const char* name,
                          std::span<const RfcTypeElement> elements, RfcTypeHandle& type) {
  if (type != 0) {
    return;
  }
  if (library.InstallStructure(name, elements.data(), static_cast<unsigned>(elements.size()),
                               &type) != 0) {
    throw LibraryAbort(kInstallStructure);
  }
}

RemoteCallResult CallRemoteFunction(const StepContext& step, const char* function,
                                    RfcParameter* exporting, RfcParameter* importing,
                                    RfcTable* tables) {
  RemoteCallResult result;
  result.code = step.library.Call(step.handle, function, exporting, tables);
  WriteTraceLine(step.trace, static_cast<int>(step.handle), trace_events::kCallCalled, "");
  if (result.code != kRfcOk) {
    return result;
  }
  char* exception = nullptr;
  result.code = step.library.Receive(step.handle, importing, tables, &exception);
  WriteTraceLine(step.trace, static_cast<int>(step.handle), trace_events::kReceiveCalled, "");
  if ((result.code == kRfcException || result.code == kRfcSysException) && exception != nullptr) {
    // Bounded: the name is read up to its NUL, but never past the limit.
    const char* const end = std::find(exception, exception + kExceptionLimit, '\0');
    result.exception.assign(exception, static_cast<std::size_t>(end - exception));
  }
  return result;
}

RemoteFailure FailureOf(RemoteCallResult result) {
  RemoteFailure failure{result.code, std::move(result.exception), {}, false};
  if (std::optional<std::string> message = ScanTraceFile()) {
    failure.message = std::move(*message);
  } else {
    failure.trace_file_missing = true;
  }
  return failure;
}

LibraryFailure ReadLibraryFailure(RfcLibrary& library, std::string operation) {
  RfcErrorInfo error{};
  library.LastError(&error);
  LibraryFailure failure{std::move(operation), FieldText(error.key), FieldText(error.status),
                         FieldText(error.message), FieldText(error.internal_status)};
  library.Close(0);
  return failure;
}

}  // namespace rfc
