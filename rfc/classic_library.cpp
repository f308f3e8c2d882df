#include "rfc/classic_library.h"

namespace rfc::classic {
namespace {

class ClassicLibrary final : public RfcLibrary {
 public:
  explicit ClassicLibrary(const EntryPoints& points) : points_(points) {}

  void Environment(RfcErrorHandler error_handler) override {
    RfcEnvironmentRecord record{error_handler, nullptr};
    points_.environment(&record);
  }
  RfcHandle Open(OpenOptions* options) override { return points_.open(options); }
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override {
    return points_.open_ex(connection_text, error_info);
  }
  void Close(RfcHandle handle) override { points_.close(handle); }
  int LastError(RfcErrorInfo* error_info) override { return points_.last_error(error_info); }
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override {
    return points_.install_structure(name, elements, element_count, type_handle);
  }
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* tables) override {
    return points_.call(handle, function, exporting, tables);
  }
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception) override {
    return points_.receive(handle, importing, tables, exception);
  }
  ItabHandle ItCreate(const char* name, unsigned row_length) override {
    return points_.it_create(name, row_length, 0, 0);
  }
  unsigned ItFill(ItabHandle table) override { return points_.it_fill(table); }
  void* ItGetLine(ItabHandle table, unsigned row) override {
    return points_.it_get_line(table, row);
  }
  int ItDelete(ItabHandle table) override { return points_.it_delete(table); }

 private:
  EntryPoints points_;
};

}  // namespace

std::optional<std::string> TakeEntryPoints(const EntryPointFinder& find, EntryPoints& points) {
  std::optional<std::string> missing;
  TakeEntryPoint(find, "RfcEnvironment", points.environment, missing);
  TakeEntryPoint(find, "RfcOpen", points.open, missing);
  TakeEntryPoint(find, "RfcOpenEx", points.open_ex, missing);
  TakeEntryPoint(find, "RfcClose", points.close, missing);
  TakeEntryPoint(find, "RfcLastError", points.last_error, missing);
  TakeEntryPoint(find, "RfcInstallStructure", points.install_structure, missing);
  TakeEntryPoint(find, "RfcCall", points.call, missing);
  TakeEntryPoint(find, "RfcReceive", points.receive, missing);
  TakeEntryPoint(find, "ItCreate", points.it_create, missing);
  TakeEntryPoint(find, "ItFill", points.it_fill, missing);
  TakeEntryPoint(find, "ItGetLine", points.it_get_line, missing);
  TakeEntryPoint(find, "ItDelete", points.it_delete, missing);
  return missing;
}

std::unique_ptr<RfcLibrary> MakeClassicLibrary(const EntryPoints& points) {
  return std::make_unique<ClassicLibrary>(points);
}

}  // namespace rfc::classic
