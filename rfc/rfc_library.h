// The twelve operations of SAP's classic library behind one interface, so
// that the classic steps can be tested against a fake. The program runs on
// SAP's librfc32.dll (or a stand-in with its interface) loaded at run time
// on Windows, on the stand-in linked in elsewhere.
#pragma once

#include "rfc/rfc_api.h"

namespace rfc {

class RfcLibrary {
 public:
  virtual ~RfcLibrary() = default;
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

}  // namespace rfc
