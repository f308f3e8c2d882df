// The twelve library operations behind one interface, so that the remote
// steps can be tested against a fake. The program runs on one of two
// implementations: on Windows SAP's librfc32.dll (or a stand-in with its
// interface) loaded at run time, on Linux the stand-in linked in.
#pragma once

#include <optional>
#include <string>

#include "rfc/rfc_api.h"

namespace rfc {

// Why the library could not be made ready: the file tried (the library's
// plain name when none was found) and the reason, as Error 1031 shows them.
struct LibraryLoadFailure {
  std::string file;
  std::string reason;
};

class RfcLibrary {
 public:
  virtual ~RfcLibrary() = default;
  // Makes the library ready; called once, before any operation, and only by
  // a run that gets as far as needing it (a configuration error never
  // loads it). A library that is always there has nothing to do.
  virtual std::optional<LibraryLoadFailure> Load() { return std::nullopt; }
  // The file the library was loaded from, once Load has succeeded; empty
  // for a library linked into the program.
  virtual std::string LoadedFile() const { return {}; }
  virtual void Environment(RfcErrorHandler error_handler) = 0;
  virtual RfcHandle Open(OpenOptions* options) = 0;
  virtual RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) = 0;
  virtual void Close(RfcHandle handle) = 0;
  virtual int LastError(RfcErrorInfo* error_info) = 0;
  virtual int InstallStructure(const char* name, const RfcTypeElement* elements,
                               unsigned element_count, RfcTypeHandle* type_handle) = 0;
  virtual int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
                   RfcTable* tables) = 0;
  virtual int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                      char** exception) = 0;
  virtual ItabHandle ItCreate(const char* name, unsigned row_length) = 0;
  virtual unsigned ItFill(ItabHandle table) = 0;
  virtual void* ItGetLine(ItabHandle table, unsigned row) = 0;
  virtual int ItDelete(ItabHandle table) = 0;
};

// The library the program runs on: loaded at run time on Windows
// (loaded_library_win32.cpp), the linked stand-in elsewhere
// (linked_library.cpp).
RfcLibrary& ProgramLibrary();

}  // namespace rfc
