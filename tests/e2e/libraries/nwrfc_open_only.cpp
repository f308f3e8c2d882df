// A library in the place of SAP's libsapnwrfc.so that has the first of the
// functions the Linux program takes and none of the others.
#include <cstddef>

extern "C" __attribute__((visibility("default"))) void* RfcOpenConnection(const void*, unsigned,
                                                                          void*) {
  return nullptr;
}
