// The twelve operations of SAP's classic RFC client library (librfc32) that
// the sensor uses, with the records it passes to them: the sensor's own
// declaration, written from SAP's published classic RFC SDK declarations
// (saprfc.h). The stand-in `rfcsim` declares the same interface
// independently (rfcsim/sap_rfc.h), so that one mistake cannot hide in both.
//
// The Windows sensor loads the library at run time and calls these
// operations through pointers of these types (loaded_library_win32.cpp);
// the Linux build links the stand-in by these names. Field order, sizes and
// offsets are SAP's on 32-bit and on 64-bit Windows, pinned at the end of
// this file for both.
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
// `row_length` is the length of one row in bytes, as the table was created.
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

// The library's last error (RfcLastError): four terminated texts, 545
// bytes in all.
struct RfcErrorInfo {
  char key[33];
  char status[128];
  char message[256];
  char internal_status[128];
};

// The error record of RfcOpenEx, a different and larger record than the one
// above (SAP's RFC_ERROR_INFO_EX): the library may write all of it when a
// logon fails. The sensor does not read it.
struct RfcErrorInfoEx {
  int group;
  char key[33];
  char message[513];
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
// SAP's allocator takes the size as an unsigned long: 4 bytes on both
// widths of Windows, where a size_t has 8 on 64 bits.
typedef void*(BW_RFC_CALL* RfcAllocator)(void* old_pointer, unsigned long size);

struct RfcEnvironmentRecord {
  RfcErrorHandler error_handler;
  RfcAllocator allocate;
};

void BW_RFC_CALL RfcEnvironment(RfcEnvironmentRecord* environment);
RfcHandle BW_RFC_CALL RfcOpen(OpenOptions* options);
RfcHandle BW_RFC_CALL RfcOpenEx(const char* connection_text, RfcErrorInfoEx* error_info);
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

// The error records hold no pointer: one layout on both widths of Windows.
#if defined(_WIN32)
static_assert(sizeof(RfcErrorInfo) == 545);
static_assert(offsetof(RfcErrorInfo, key) == 0 && offsetof(RfcErrorInfo, status) == 33 &&
              offsetof(RfcErrorInfo, message) == 161 &&
              offsetof(RfcErrorInfo, internal_status) == 417);
static_assert(sizeof(RfcErrorInfoEx) == 552);
static_assert(offsetof(RfcErrorInfoEx, key) == 4 && offsetof(RfcErrorInfoEx, message) == 37);
#endif

// SAP's layout on 32-bit Windows, where the sensor meets SAP's library.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(RfcParameter) == 20);
static_assert(offsetof(RfcParameter, name_length) == 4 && offsetof(RfcParameter, type) == 8 &&
              offsetof(RfcParameter, length) == 12 && offsetof(RfcParameter, address) == 16);
static_assert(sizeof(RfcTable) == 28);
static_assert(offsetof(RfcTable, name_length) == 4 && offsetof(RfcTable, type) == 8 &&
              offsetof(RfcTable, row_length) == 12 && offsetof(RfcTable, table) == 16 &&
              offsetof(RfcTable, mode) == 20 && offsetof(RfcTable, new_table) == 24);
static_assert(sizeof(RfcTypeElement) == 20);
static_assert(offsetof(RfcTypeElement, type) == 4 && offsetof(RfcTypeElement, length) == 8 &&
              offsetof(RfcTypeElement, decimals) == 12 && offsetof(RfcTypeElement, offset) == 16);
static_assert(sizeof(ServerAddress) == 16);
static_assert(offsetof(ServerAddress, system_number) == 4 &&
              offsetof(ServerAddress, gateway_host) == 8 &&
              offsetof(ServerAddress, gateway_service) == 12);
static_assert(sizeof(GatewayAddress) == 8 && offsetof(GatewayAddress, gateway_service) == 4);
static_assert(sizeof(OpenOptions) == 32);
static_assert(offsetof(OpenOptions, mode) == 4 && offsetof(OpenOptions, connection) == 8 &&
              offsetof(OpenOptions, client) == 12 && offsetof(OpenOptions, user) == 16 &&
              offsetof(OpenOptions, password) == 20 && offsetof(OpenOptions, language) == 24 &&
              offsetof(OpenOptions, trace) == 28);
static_assert(sizeof(RfcEnvironmentRecord) == 8 && offsetof(RfcEnvironmentRecord, allocate) == 4);
#endif

// SAP's layout on 64-bit Windows (LLP64): pointers and handles take 8 bytes
// and align the records to 8, ints, unsigned ints and enumerations stay at
// 4, and the connection and type handles are unsigned ints there too.
#if defined(_WIN64)
static_assert(sizeof(RfcHandle) == 4 && sizeof(RfcTypeHandle) == 4 && sizeof(ItabHandle) == 8);
static_assert(sizeof(RfcParameter) == 32);
static_assert(offsetof(RfcParameter, name_length) == 8 && offsetof(RfcParameter, type) == 12 &&
              offsetof(RfcParameter, length) == 16 && offsetof(RfcParameter, address) == 24);
static_assert(sizeof(RfcTable) == 40);
static_assert(offsetof(RfcTable, name_length) == 8 && offsetof(RfcTable, type) == 12 &&
              offsetof(RfcTable, row_length) == 16 && offsetof(RfcTable, table) == 24 &&
              offsetof(RfcTable, mode) == 32 && offsetof(RfcTable, new_table) == 36);
static_assert(sizeof(RfcTypeElement) == 24);
static_assert(offsetof(RfcTypeElement, type) == 8 && offsetof(RfcTypeElement, length) == 12 &&
              offsetof(RfcTypeElement, decimals) == 16 && offsetof(RfcTypeElement, offset) == 20);
static_assert(sizeof(ServerAddress) == 32);
static_assert(offsetof(ServerAddress, system_number) == 8 &&
              offsetof(ServerAddress, gateway_host) == 16 &&
              offsetof(ServerAddress, gateway_service) == 24);
static_assert(sizeof(GatewayAddress) == 16 && offsetof(GatewayAddress, gateway_service) == 8);
static_assert(sizeof(OpenOptions) == 64);
static_assert(offsetof(OpenOptions, mode) == 8 && offsetof(OpenOptions, connection) == 16 &&
              offsetof(OpenOptions, client) == 24 && offsetof(OpenOptions, user) == 32 &&
              offsetof(OpenOptions, password) == 40 && offsetof(OpenOptions, language) == 48 &&
              offsetof(OpenOptions, trace) == 56);
static_assert(sizeof(RfcEnvironmentRecord) == 16 && offsetof(RfcEnvironmentRecord, allocate) == 8);
#endif
