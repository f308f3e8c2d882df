// The twelve library operations behind one interface, so that the remote
// steps can be tested against a fake. The sensor's only implementation
// forwards to the linked librfc32 (SAP's or the stand-in).
#pragma once

#include "rfc/rfc_api.h"

namespace rfc {

class RfcLibrary {
 public:
  virtual ~RfcLibrary() = default;
  virtual void Environment(RfcErrorHandler error_handler) = 0;
  virtual RfcHandle Open(OpenOptions* options) = 0;
  virtual RfcHandle OpenEx(const char* connection_text, RfcErrorInfo* error_info) = 0;
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

// The library the program is linked with.
RfcLibrary& LinkedLibrary();

}  // namespace rfc
