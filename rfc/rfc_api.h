// The twelve operations of SAP's classic RFC client library (librfc32) that
// the sensor uses, with the records it passes to them. This is the only
// declaration of the library in the project: the sensor links either SAP's
// library or the stand-in `rfcsim`, which implements the same operations.
//
// Field order and meaning follow the library's contract; on the 32-bit
// Windows target every field is 4 bytes wide.
#pragma once

#include <cstddef>

#if defined(_WIN32)
#define BW_RFC_CALL __stdcall
#else
#define BW_RFC_CALL
#endif

extern "C" {

// Connection handle; 0 means "no connection".
typedef unsigned int RfcHandle;
// Type handle returned by RfcInstallStructure; 0 means "not installed".
typedef unsigned int RfcTypeHandle;
// Internal table handle; null means "none".
typedef void* ItabHandle;

// Type codes the sensor passes.
enum : unsigned {
  kRfcTypeChar = 0,
  kRfcTypeDate = 1,
  kRfcTypeTime = 3,
  kRfcTypeNum = 6,
  kRfcTypeInt = 8,
  kRfcTypeInt2 = 9,
};

// RfcReceive results.
enum : int {
  kRfcOk = 0,
  kRfcFailure = 1,
  kRfcException = 2,
  kRfcSysException = 3,
};

// One exporting or importing parameter. A list ends with an entry whose
// name is null.
struct RfcParameter {
  const char* name;
  unsigned name_length;
  unsigned type;  // a type code above, or a structure's RfcTypeHandle
  unsigned length;
  void* address;
};

// One table of a call. A list ends with an entry whose name is null.
struct RfcTable {
  const char* name;
  unsigned name_length;
  RfcTypeHandle type;
  unsigned row_length;
  ItabHandle table;
  int mode;
  int new_table;
};

// One field of a structure description for RfcInstallStructure.
struct RfcTypeElement {
  const char* name;
  unsigned type;
  unsigned length;
  unsigned decimals;
  unsigned offset;
};

// The library's last error: four terminated texts, 545 bytes in all.
struct RfcErrorInfo {
  char key[33];
  char status[128];
  char message[256];
  char internal_status[128];
};

// Application-server address (mode code 0). Absent texts are null.
struct ServerAddress {
  const char* host;
  int system_number;
  const char* gateway_host;
  const char* gateway_service;
};

// Gateway-only address (mode code 1, "R/2"). Absent texts are null.
struct GatewayAddress {
  const char* gateway_host;
  const char* gateway_service;
};

// Logon record for RfcOpen.
struct OpenOptions {
  const char* destination;
  int mode;          // 0 application server, 1 gateway ("R/2")
  void* connection;  // ServerAddress* (mode 0) or GatewayAddress* (mode 1)
  const char* client;
  const char* user;      // blank-padded to at least 12 characters
  const char* password;  // blank-padded to at least 10 characters
  const char* language;
  int trace;
};

typedef void(BW_RFC_CALL* RfcErrorHandler)(char* operation);
typedef void*(BW_RFC_CALL* RfcAllocator)(void* old_pointer, std::size_t size);

struct RfcEnvironmentRecord {
  RfcErrorHandler error_handler;
  RfcAllocator allocate;
};

void BW_RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment);
RfcHandle BW_RFC_CALL RfcOpen(OpenOptions* options);
RfcHandle BW_RFC_CALL RfcOpenEx(const char* connection_text, RfcErrorInfo* error_info);
void BW_RFC_CALL RfcClose(RfcHandle handle);
int BW_RFC_CALL RfcLastError(RfcErrorInfo* error_info);
int BW_RFC_CALL RfcInstallStructure(const char* name, const RfcTypeElement* elements,
                                    unsigned element_count, RfcTypeHandle* type_handle);
int BW_RFC_CALL RfcCall(RfcHandle handle, const char* function, RfcParameter* exporting,
                        RfcTable* tables);
int BW_RFC_CALL RfcReceive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
                           char** exception);
ItabHandle BW_RFC_CALL ItCreate(const char* name, unsigned row_length, unsigned occurs,
                                unsigned memory);
unsigned BW_RFC_CALL ItFill(ItabHandle table);
void* BW_RFC_CALL ItGetLine(ItabHandle table, unsigned row);
int BW_RFC_CALL ItDelete(ItabHandle table);

}  // extern "C"
