#include "rfc/remote_call.h"

#include <algorithm>
#include <cstring>

#include "include/run_end.h"
#include "rfc/trace_line.h"

namespace rfc {
namespace {

// The size the sensor has always reserved for an exception name, less its NUL.
constexpr std::size_t kExceptionLimit = 255;

constexpr const char* kInstallStructure = "RfcInstallStructure";

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
    throw RfcAbort(kInstallStructure);
  }
}

RemoteCallResult CallRemoteFunction(const RunState& run, RunServices& services,
                                    const char* function, RfcParameter* exporting,
                                    RfcParameter* importing, RfcTable* tables) {
  const RfcHandle handle = run.ConnectionHandle;
  RemoteCallResult result;
  result.code = services.rfc.Call(handle, function, exporting, tables);
  WriteTraceLine(run, services, handle, trace_events::kCallCalled, "");
  if (result.code != kRfcOk) {
    return result;
  }
  char* exception = nullptr;
  result.code = services.rfc.Receive(handle, importing, tables, &exception);
  WriteTraceLine(run, services, handle, trace_events::kReceiveCalled, "");
  if ((result.code == kRfcException || result.code == kRfcSysException) && exception != nullptr) {
    // Bounded: the name is read up to its NUL, but never past the limit.
    const char* const end = std::find(exception, exception + kExceptionLimit, '\0');
    result.exception.assign(exception, static_cast<std::size_t>(end - exception));
  }
  return result;
}

}  // namespace rfc
