// The part of SAP's NetWeaver RFC C API (sapnwrfc.dll, libsapnwrfc.so on
// Linux) that the sensor's NetWeaver backend takes: the sensor's own
// declaration, written from SAP's public NetWeaver RFC SDK header sapnwrfc.h
// and its documentation comments (SAP_UC from sapucx.h: a UTF-16 code unit;
// SAP_API: __stdcall on Windows, nothing elsewhere).
// The NetWeaver stand-in declares the same interface independently, so that
// one mistake cannot hide in both.
//
// The backend never links these names: it calls them through pointers taken
// at run time (entry_points.h), whose types come from these declarations.
// Field order, sizes and offsets are SAP's on 32-bit and on 64-bit Windows
// and on Linux x86_64; those of the records the backend passes are pinned at
// the end of this file for each.
#pragma once

#include <cstddef>

#if defined(_WIN32)
#define BW_NW_CALL __stdcall
#else
#define BW_NW_CALL
#endif

namespace nw {

// One UTF-16 code unit (SAP_UC: wchar_t on Windows, unsigned short on
// Linux).
typedef char16_t SAP_UC;
typedef SAP_UC RFC_CHAR;
typedef unsigned char SAP_RAW;
typedef unsigned char RFC_INT1;
typedef short RFC_INT2;
typedef int RFC_INT;

// Return codes of every function that returns no handle, and the code of
// an error record. The values are SAP's, in SAP's order.
enum RFC_RC : int {
  RFC_OK = 0,
  RFC_COMMUNICATION_FAILURE = 1,
  RFC_LOGON_FAILURE = 2,
  RFC_ABAP_RUNTIME_FAILURE = 3,
  RFC_ABAP_MESSAGE = 4,
  RFC_ABAP_EXCEPTION = 5,
  RFC_CLOSED = 6,
  RFC_CANCELED = 7,
  RFC_TIMEOUT = 8,
  RFC_MEMORY_INSUFFICIENT = 9,
  RFC_VERSION_MISMATCH = 10,
  RFC_INVALID_PROTOCOL = 11,
  RFC_SERIALIZATION_FAILURE = 12,
  RFC_INVALID_HANDLE = 13,
  RFC_RETRY = 14,
  RFC_EXTERNAL_FAILURE = 15,
  RFC_EXECUTED = 16,
  RFC_NOT_FOUND = 17,
  RFC_NOT_SUPPORTED = 18,
  RFC_ILLEGAL_STATE = 19,
  RFC_INVALID_PARAMETER = 20,
  RFC_CODEPAGE_CONVERSION_FAILURE = 21,
  RFC_CONVERSION_FAILURE = 22,
  RFC_BUFFER_TOO_SMALL = 23,
  RFC_TABLE_MOVE_BOF = 24,
  RFC_TABLE_MOVE_EOF = 25,
  RFC_START_SAPGUI_FAILURE = 26,
  RFC_ABAP_CLASS_EXCEPTION = 27,
  RFC_UNKNOWN_ERROR = 28,
  RFC_AUTHORIZATION_FAILURE = 29,
};

// The layer an error belongs to.
enum RFC_ERROR_GROUP : int {
  OK = 0,
  ABAP_APPLICATION_FAILURE = 1,
  ABAP_RUNTIME_FAILURE = 2,
  LOGON_FAILURE = 3,
  COMMUNICATION_FAILURE = 4,
  EXTERNAL_RUNTIME_FAILURE = 5,
  EXTERNAL_APPLICATION_FAILURE = 6,
  EXTERNAL_AUTHORIZATION_FAILURE = 7,
};

// ABAP data types of fields and parameters: the classic ones, tables and
// structures.
enum RFCTYPE : int {
  RFCTYPE_CHAR = 0,
  RFCTYPE_DATE = 1,
  RFCTYPE_BCD = 2,
  RFCTYPE_TIME = 3,
  RFCTYPE_BYTE = 4,
  RFCTYPE_TABLE = 5,
  RFCTYPE_NUM = 6,
  RFCTYPE_FLOAT = 7,
  RFCTYPE_INT = 8,
  RFCTYPE_INT2 = 9,
  RFCTYPE_INT1 = 10,
  RFCTYPE_STRUCTURE = 17,
};

// A parameter's direction, seen from the called function module (the
// server): what a client sends is RFC_IMPORT, what it receives RFC_EXPORT.
enum RFC_DIRECTION : int {
  RFC_IMPORT = 0x01,
  RFC_EXPORT = 0x02,
  RFC_CHANGING = RFC_IMPORT | RFC_EXPORT,
  RFC_TABLES = 0x04 | RFC_CHANGING,
};

// The error record every function fills on failure. Texts are terminated
// UTF-16.
struct RFC_ERROR_INFO {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[20 + 1];
  SAP_UC abapMsgType[1 + 1];
  RFC_CHAR abapMsgNumber[3 + 1];
  SAP_UC abapMsgV1[50 + 1];
  SAP_UC abapMsgV2[50 + 1];
  SAP_UC abapMsgV3[50 + 1];
  SAP_UC abapMsgV4[50 + 1];
};

// One logon parameter: terminated UTF-16 name ("ashost", "user", ...) and
// value.
struct RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
};

// Opaque handles; each is a pointer to a record only the library reads.
struct RFC_CONNECTION_HANDLE_RECORD {
  void* handle;
};
typedef RFC_CONNECTION_HANDLE_RECORD* RFC_CONNECTION_HANDLE;
struct RFC_FUNCTION_DESC_HANDLE_RECORD {
  void* handle;
};
typedef RFC_FUNCTION_DESC_HANDLE_RECORD* RFC_FUNCTION_DESC_HANDLE;
struct RFC_TYPE_DESC_HANDLE_RECORD {
  void* handle;
};
typedef RFC_TYPE_DESC_HANDLE_RECORD* RFC_TYPE_DESC_HANDLE;
// Functions, structures and tables are all data containers: the field
// functions take any of them.
struct RFC_DATA_CONTAINER {
  void* handle;
};
typedef RFC_DATA_CONTAINER* DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;

// A terminated ABAP name (function module, parameter, field).
typedef RFC_CHAR RFC_ABAP_NAME[30 + 1];

// One field of a structure or table row. nucLength/nucOffset are bytes in a
// system with one byte per character, ucLength/ucOffset with two.
struct RFC_FIELD_DESC {
  RFC_ABAP_NAME name;
  RFCTYPE type;
  unsigned nucLength;
  unsigned nucOffset;
  unsigned ucLength;
  unsigned ucOffset;
  unsigned decimals;
  RFC_TYPE_DESC_HANDLE typeDescHandle;
  void* extendedDescription;
};

// One parameter of a function module.
struct RFC_PARAMETER_DESC {
  RFC_ABAP_NAME name;
  RFCTYPE type;
  RFC_DIRECTION direction;
  unsigned nucLength;
  unsigned ucLength;
  unsigned decimals;
  RFC_TYPE_DESC_HANDLE typeDescHandle;
  RFC_CHAR defaultValue[30 + 1];
  RFC_CHAR parameterText[79 + 1];
  unsigned char optional;
  void* extendedDescription;
};

extern "C" {

RFC_CONNECTION_HANDLE BW_NW_CALL RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams,
                                                   unsigned paramCount, RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);
RFC_FUNCTION_DESC_HANDLE BW_NW_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                       const SAP_UC* funcName,
                                                       RFC_ERROR_INFO* errorInfo);
RFC_FUNCTION_HANDLE BW_NW_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                 RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                            RFC_ERROR_INFO* errorInfo);
// Sets a field from valueLength characters (no terminator needed).
RFC_RC BW_NW_CALL RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                              const RFC_CHAR* charValue, unsigned valueLength,
                              RFC_ERROR_INFO* errorInfo);
// Fills exactly bufferLength characters, blank-padded, no terminator;
// RFC_BUFFER_TOO_SMALL when the value does not fit.
RFC_RC BW_NW_CALL RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                              RFC_CHAR* charBuffer, unsigned bufferLength,
                              RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                            RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetInt1(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT1* value,
                             RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetInt2(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT2* value,
                             RFC_ERROR_INFO* errorInfo);
// The field's value in its binary form: a packed field's bytes as they are,
// zero-padded to bufferLength; RFC_BUFFER_TOO_SMALL when they do not fit.
RFC_RC BW_NW_CALL RfcGetBytes(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                              SAP_RAW* byteBuffer, unsigned bufferLength,
                              RFC_ERROR_INFO* errorInfo);
// The field's value as terminated text (a packed field: its decimal text).
// *stringLength is the text's length, also when RFC_BUFFER_TOO_SMALL says
// that it and its terminator do not fit.
RFC_RC BW_NW_CALL RfcGetString(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                               SAP_UC* stringBuffer, unsigned bufferLength, unsigned* stringLength,
                               RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                  RFC_STRUCTURE_HANDLE* structHandle, RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                              RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                 RFC_ERROR_INFO* errorInfo);
// Rows count from 0.
RFC_RC BW_NW_CALL RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index,
                            RFC_ERROR_INFO* errorInfo);
RFC_STRUCTURE_HANDLE BW_NW_CALL RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle,
                                                 RFC_ERROR_INFO* errorInfo);
// A structure's type, or a table's row type.
RFC_TYPE_DESC_HANDLE BW_NW_CALL RfcDescribeType(DATA_CONTAINER_HANDLE dataHandle,
                                                RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                   RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle, unsigned index,
                                         RFC_FIELD_DESC* fieldDescr, RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned* count,
                                       RFC_ERROR_INFO* errorInfo);
RFC_RC BW_NW_CALL RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned index,
                                             RFC_PARAMETER_DESC* paramDesc,
                                             RFC_ERROR_INFO* errorInfo);

}  // extern "C"

// Sizes and the error record, alike on both widths of Windows and on Linux
// x86_64. The error record holds no pointer: 8 + 2 * 871 = 1750 bytes of
// fields, aligned to 4 bytes by its enumerations, so two bytes of padding
// close it.
#if defined(_WIN32) || (defined(__linux__) && defined(__x86_64__))
static_assert(sizeof(SAP_UC) == 2 && sizeof(RFC_INT) == 4 && sizeof(RFC_INT1) == 1 &&
              sizeof(RFC_INT2) == 2 && sizeof(RFC_RC) == 4 && sizeof(RFCTYPE) == 4 &&
              sizeof(RFC_DIRECTION) == 4 && sizeof(RFC_ERROR_GROUP) == 4);
static_assert(sizeof(RFC_ERROR_INFO) == 1752);
static_assert(offsetof(RFC_ERROR_INFO, group) == 4 && offsetof(RFC_ERROR_INFO, key) == 8 &&
              offsetof(RFC_ERROR_INFO, message) == 264 &&
              offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288 &&
              offsetof(RFC_ERROR_INFO, abapMsgType) == 1330 &&
              offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334 &&
              offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342 &&
              offsetof(RFC_ERROR_INFO, abapMsgV2) == 1444 &&
              offsetof(RFC_ERROR_INFO, abapMsgV3) == 1546 &&
              offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648);
#endif

// SAP's layout on 32-bit Windows, where the sensor meets SAP's library.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 8 &&
              offsetof(RFC_CONNECTION_PARAMETER, value) == 4);
static_assert(sizeof(RFC_FIELD_DESC) == 96);
static_assert(offsetof(RFC_FIELD_DESC, type) == 64 && offsetof(RFC_FIELD_DESC, nucLength) == 68 &&
              offsetof(RFC_FIELD_DESC, nucOffset) == 72 &&
              offsetof(RFC_FIELD_DESC, ucLength) == 76 &&
              offsetof(RFC_FIELD_DESC, ucOffset) == 80 &&
              offsetof(RFC_FIELD_DESC, decimals) == 84 &&
              offsetof(RFC_FIELD_DESC, typeDescHandle) == 88 &&
              offsetof(RFC_FIELD_DESC, extendedDescription) == 92);
static_assert(sizeof(RFC_PARAMETER_DESC) == 316);
static_assert(offsetof(RFC_PARAMETER_DESC, type) == 64 &&
              offsetof(RFC_PARAMETER_DESC, direction) == 68 &&
              offsetof(RFC_PARAMETER_DESC, nucLength) == 72 &&
              offsetof(RFC_PARAMETER_DESC, ucLength) == 76 &&
              offsetof(RFC_PARAMETER_DESC, decimals) == 80 &&
              offsetof(RFC_PARAMETER_DESC, typeDescHandle) == 84 &&
              offsetof(RFC_PARAMETER_DESC, defaultValue) == 88 &&
              offsetof(RFC_PARAMETER_DESC, parameterText) == 150 &&
              offsetof(RFC_PARAMETER_DESC, optional) == 310 &&
              offsetof(RFC_PARAMETER_DESC, extendedDescription) == 312);
#endif

// SAP's layout on 64-bit Windows (LLP64) and on Linux x86_64 (LP64), where
// the sensor loads SAP's libsapnwrfc.so: handles and pointers take 8 bytes
// and align a record that holds one to 8; SAP_UC, the enumerations and
// unsigned ints keep their sizes. The error record holds no pointer and
// keeps its 32-bit layout. In the parameter description the type handle
// moves from 84 to 88 and everything after it by 8; the last pointer, after
// the one-byte flag at 318, lies at 320.
//
// LP64 widens long to 64 bits where LLP64 keeps it at 32, but no field of
// these records is a long, a size_t or a 64-bit integer (SAP_UC is SAP's
// unsigned short on Linux, RFC_INT an int), so that both share one layout.
// BW_NW_CALL is empty on Linux: SAP declares no calling convention outside
// Windows, and the visibility mark on its exports asks nothing of a caller.
#if defined(_WIN64) || (defined(__linux__) && defined(__x86_64__))
static_assert(sizeof(RFC_CONNECTION_HANDLE) == 8 && sizeof(RFC_FUNCTION_DESC_HANDLE) == 8 &&
              sizeof(RFC_TYPE_DESC_HANDLE) == 8 && sizeof(DATA_CONTAINER_HANDLE) == 8);
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 16 &&
              offsetof(RFC_CONNECTION_PARAMETER, value) == 8);
static_assert(sizeof(RFC_FIELD_DESC) == 104);
static_assert(offsetof(RFC_FIELD_DESC, type) == 64 && offsetof(RFC_FIELD_DESC, nucLength) == 68 &&
              offsetof(RFC_FIELD_DESC, nucOffset) == 72 &&
              offsetof(RFC_FIELD_DESC, ucLength) == 76 &&
              offsetof(RFC_FIELD_DESC, ucOffset) == 80 &&
              offsetof(RFC_FIELD_DESC, decimals) == 84 &&
              offsetof(RFC_FIELD_DESC, typeDescHandle) == 88 &&
              offsetof(RFC_FIELD_DESC, extendedDescription) == 96);
static_assert(sizeof(RFC_PARAMETER_DESC) == 328);
static_assert(offsetof(RFC_PARAMETER_DESC, type) == 64 &&
              offsetof(RFC_PARAMETER_DESC, direction) == 68 &&
              offsetof(RFC_PARAMETER_DESC, nucLength) == 72 &&
              offsetof(RFC_PARAMETER_DESC, ucLength) == 76 &&
              offsetof(RFC_PARAMETER_DESC, decimals) == 80 &&
              offsetof(RFC_PARAMETER_DESC, typeDescHandle) == 88 &&
              offsetof(RFC_PARAMETER_DESC, defaultValue) == 96 &&
              offsetof(RFC_PARAMETER_DESC, parameterText) == 158 &&
              offsetof(RFC_PARAMETER_DESC, optional) == 318 &&
              offsetof(RFC_PARAMETER_DESC, extendedDescription) == 320);
#endif

}  // namespace nw
