#include "rfc/rfc_library.h"

namespace rfc {
namespace {

class LinkedRfcLibrary final : public RfcLibrary {
 public:
  void Environment(RfcErrorHandler error_handler) override {
    RfcEnvironmentRecord record{error_handler, nullptr};
    ::RfcEnvironment(&record);
  }
  RfcHandle Open(OpenOptions* options) override { return ::RfcOpen(options); }
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override {
    return ::RfcOpenEx(connection_text, error_info);
  }
  void Close(RfcHandle handle) override { ::RfcClose(handle); }
  int LastError(RfcErrorInfo* error_info) override { return ::RfcLastError(error_info); }
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override {
    return ::RfcInstallStructure(name, elements, element_count, type_handle);
  }
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* tables) override {
    return ::RfcCall(handle, function, exporting, tables);
  }
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception) override {
    return ::RfcReceive(handle, importing, tables, exception);
  }
  ItabHandle ItCreate(const char* name, unsigned row_length) override {
    return ::ItCreate(name, row_length, 0, 0);
  }
  unsigned ItFill(ItabHandle table) override { return ::ItFill(table); }
  void* ItGetLine(ItabHandle table, unsigned row) override { return ::ItGetLine(table, row); }
  int ItDelete(ItabHandle table) override { return ::ItDelete(table); }
};

}  // namespace

RfcLibrary& ProgramLibrary() {
  static LinkedRfcLibrary library;
  return library;
}

}  // namespace rfc
