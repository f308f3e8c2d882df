// SAP's NetWeaver RFC client interface as rfcsim's sapnwrfc.dll implements
// it: the records and the twenty-two functions the sensor's NetWeaver
// adapter calls, declared after SAP's public NetWeaver RFC SDK header
// sapnwrfc.h (with sapuc.h for SAP_UC). Names, field order, field types and
// enumeration values are SAP's; the layouts of SAP's library on 32-bit and
// on 64-bit Windows and on Linux x86_64 are pinned at the end of this file.
//
// This is rfcsim's own declaration, written independently of the sensor's,
// so that a mistake in one shows as a disagreement with the other instead
// of hiding in both.
//
// Everything except the functions lies in namespace rfcsim::nw: the classic
// declaration (rfcsim/sap_rfc.h, global names) uses the same names for
// different records (RFC_ERROR_INFO, RFC_RC, RFCTYPE_CHAR, ...). Code that
// includes this header does not include rfcsim/sap_rfc.h: the NetWeaver
// layer reaches the engine through rfcsim/nw/classic_bridge.h only, which
// exposes no SAP type.
//
// Where this declaration differs from SAP's header, the difference changes
// neither a size nor an offset nor a C symbol: SAP_UC is char16_t (SAP's
// 2-byte UTF-16 unit: wchar_t on Windows, unsigned short on Linux), and the
// enumerations have the fixed type int, the size of SAP's C enumerations.
#pragma once

#include <cstddef>

#if defined(_WIN32)
// SAP_API: __stdcall on Windows (SAPonNT). Named apart from the classic
// header's SAP_API, which means the same.
#define RFCSIM_NW_API __stdcall
#else
#define RFCSIM_NW_API
#endif

namespace rfcsim::nw {

typedef char16_t SAP_UC;
typedef SAP_UC RFC_CHAR;
typedef unsigned char SAP_RAW;
typedef SAP_RAW RFC_INT1;  // unsigned, as in SAP's header
typedef short RFC_INT2;
typedef int RFC_INT;

typedef RFC_CHAR RFC_ABAP_NAME[30 + 1];
typedef RFC_CHAR RFC_PARAMETER_DEFVALUE[30 + 1];
typedef RFC_CHAR RFC_PARAMETER_TEXT[79 + 1];

// The ABAP types; SAP's list goes on (RFCTYPE_DECF16 = 23, ...).
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
  RFCTYPE_NULL = 14,
  RFCTYPE_ABAPOBJECT = 16,
  RFCTYPE_STRUCTURE = 17,
  RFCTYPE_STRING = 29,
  RFCTYPE_XSTRING = 30,
};

// Results, in SAP's order.
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

// Every function's error report: terminated UTF-16 texts.
struct RFC_ERROR_INFO {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[20 + 1];
  SAP_UC abapMsgType[1 + 1];
  RFC_CHAR abapMsgNumber[3 + 1];  // RFC_NUM in SAP's header
  SAP_UC abapMsgV1[50 + 1];
  SAP_UC abapMsgV2[50 + 1];
  SAP_UC abapMsgV3[50 + 1];
  SAP_UC abapMsgV4[50 + 1];
};

// Parameter directions, seen from the called module (the server).
enum RFC_DIRECTION : int {
  RFC_IMPORT = 0x01,
  RFC_EXPORT = 0x02,
  RFC_CHANGING = RFC_IMPORT | RFC_EXPORT,
  RFC_TABLES = 0x04 | RFC_CHANGING,
};

// Handles: pointers to records the caller never looks into.
typedef struct _RFC_TYPE_DESC_HANDLE {
  void* handle;
} * RFC_TYPE_DESC_HANDLE;
typedef struct _RFC_FUNCTION_DESC_HANDLE {
  void* handle;
} * RFC_FUNCTION_DESC_HANDLE;
typedef struct RFC_DATA_CONTAINER {
  void* handle;
} * DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;
typedef struct _RFC_CONNECTION_HANDLE {
  void* handle;
} * RFC_CONNECTION_HANDLE;

// One logon parameter of RfcOpenConnection ("ashost", "user", ...).
struct RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
};

// One field of a structure or table row. nuc*: bytes in a system with one
// byte per character; uc*: with two.
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

struct RFC_PARAMETER_DESC {
  RFC_ABAP_NAME name;
  RFCTYPE type;
  RFC_DIRECTION direction;
  unsigned nucLength;
  unsigned ucLength;
  unsigned decimals;
  RFC_TYPE_DESC_HANDLE typeDescHandle;
  RFC_PARAMETER_DEFVALUE defaultValue;
  RFC_PARAMETER_TEXT parameterText;
  SAP_RAW optional;  // RFC_BYTE in SAP's header
  void* extendedDescription;
};

extern "C" {

// ---- Connections -----------------------------------------------------------
RFC_CONNECTION_HANDLE RFCSIM_NW_API
RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                  RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);

// ---- Metadata --------------------------------------------------------------
RFC_FUNCTION_DESC_HANDLE RFCSIM_NW_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                          const SAP_UC* funcName,
                                                          RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned* count,
                                          RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned index,
                                                RFC_PARAMETER_DESC* paramDesc,
                                                RFC_ERROR_INFO* errorInfo);
RFC_TYPE_DESC_HANDLE RFCSIM_NW_API RfcDescribeType(DATA_CONTAINER_HANDLE dataHandle,
                                                   RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                      RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle, unsigned index,
                                            RFC_FIELD_DESC* fieldDescr, RFC_ERROR_INFO* errorInfo);

// ---- Function containers and calls -----------------------------------------
RFC_FUNCTION_HANDLE RFCSIM_NW_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                    RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                               RFC_ERROR_INFO* errorInfo);

// ---- Field access (a table handle means its current row) -------------------
RFC_RC RFCSIM_NW_API RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 const RFC_CHAR* charValue, unsigned valueLength,
                                 RFC_ERROR_INFO* errorInfo);
// Exactly bufferLength characters, blank-padded, no terminator.
RFC_RC RFCSIM_NW_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 RFC_CHAR* charBuffer, unsigned bufferLength,
                                 RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                               RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetInt1(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                RFC_INT1* value, RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetInt2(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                RFC_INT2* value, RFC_ERROR_INFO* errorInfo);
// The field's binary form, zero-padded to bufferLength: a packed field's
// bytes as they are (also when they are no packed number), an integer's
// bytes (little endian), a text's UTF-16 units (little endian);
// RFC_BUFFER_TOO_SMALL when it does not fit.
RFC_RC RFCSIM_NW_API RfcGetBytes(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 SAP_RAW* byteBuffer, unsigned bufferLength,
                                 RFC_ERROR_INFO* errorInfo);
// A terminated text; RFC_BUFFER_TOO_SMALL with the length needed (without
// the terminator) in *stringLength when it does not fit.
RFC_RC RFCSIM_NW_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                  SAP_UC* stringBuffer, unsigned bufferLength,
                                  unsigned* stringLength, RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                     RFC_STRUCTURE_HANDLE* structHandle, RFC_ERROR_INFO* errorInfo);
RFC_RC RFCSIM_NW_API RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);

// ---- Tables ----------------------------------------------------------------
RFC_RC RFCSIM_NW_API RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                    RFC_ERROR_INFO* errorInfo);
// Rows count from 0.
RFC_RC RFCSIM_NW_API RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index,
                               RFC_ERROR_INFO* errorInfo);
RFC_STRUCTURE_HANDLE RFCSIM_NW_API RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle,
                                                    RFC_ERROR_INFO* errorInfo);

}  // extern "C"

// Sizes and the error record, alike on both widths of Windows and on Linux
// x86_64. The error record holds no pointer: 4 + 4 + 2 * (128 + 512 + 21 +
// 2 + 4 + 4 * 51) = 1750 bytes of fields, rounded up to the record's 4-byte
// alignment.
#if defined(_WIN32) || (defined(__linux__) && defined(__x86_64__))
static_assert(sizeof(SAP_UC) == 2 && sizeof(RFC_INT) == 4 && sizeof(RFC_INT1) == 1 &&
              sizeof(RFC_INT2) == 2 && sizeof(RFCTYPE) == 4 && sizeof(RFC_RC) == 4 &&
              sizeof(RFC_ERROR_GROUP) == 4 && sizeof(RFC_DIRECTION) == 4);

static_assert(sizeof(RFC_ERROR_INFO) == 1752);
static_assert(offsetof(RFC_ERROR_INFO, code) == 0 && offsetof(RFC_ERROR_INFO, group) == 4 &&
              offsetof(RFC_ERROR_INFO, key) == 8 && offsetof(RFC_ERROR_INFO, message) == 264 &&
              offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288 &&
              offsetof(RFC_ERROR_INFO, abapMsgType) == 1330 &&
              offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334 &&
              offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342 &&
              offsetof(RFC_ERROR_INFO, abapMsgV2) == 1444 &&
              offsetof(RFC_ERROR_INFO, abapMsgV3) == 1546 &&
              offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648);
#endif

// SAP's layout on 32-bit Windows, where callers built against SAP's header
// meet rfcsim's DLL.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 8);
static_assert(offsetof(RFC_CONNECTION_PARAMETER, name) == 0 &&
              offsetof(RFC_CONNECTION_PARAMETER, value) == 4);

// name: 31 UTF-16 units (62 bytes), padded to 64 for the 4-byte fields.
static_assert(sizeof(RFC_FIELD_DESC) == 96);
static_assert(offsetof(RFC_FIELD_DESC, name) == 0 && offsetof(RFC_FIELD_DESC, type) == 64 &&
              offsetof(RFC_FIELD_DESC, nucLength) == 68 &&
              offsetof(RFC_FIELD_DESC, nucOffset) == 72 &&
              offsetof(RFC_FIELD_DESC, ucLength) == 76 &&
              offsetof(RFC_FIELD_DESC, ucOffset) == 80 &&
              offsetof(RFC_FIELD_DESC, decimals) == 84 &&
              offsetof(RFC_FIELD_DESC, typeDescHandle) == 88 &&
              offsetof(RFC_FIELD_DESC, extendedDescription) == 92);

// defaultValue 62 bytes at 88, parameterText 160 at 150, optional 1 at 310,
// then the pointer at the next multiple of 4.
static_assert(sizeof(RFC_PARAMETER_DESC) == 316);
static_assert(offsetof(RFC_PARAMETER_DESC, name) == 0 && offsetof(RFC_PARAMETER_DESC, type) == 64 &&
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

// SAP's layout on 64-bit Windows (LLP64) and on Linux x86_64 (LP64), where a
// program loads rfcsim's libsapnwrfc.so as it would SAP's: the handles are
// pointers of 8 bytes, aligned to 8; SAP_UC, the enumerations and unsigned
// stay as they are. The error record holds no pointer: its layout is the
// 32-bit one.
//
// LP64 widens long to 64 bits where LLP64 keeps it at 32, but none of these
// records holds a long, a size_t or a 64-bit integer (SAP_UC is SAP's
// unsigned short on Linux, RFC_INT an int): both share one layout.
// RFCSIM_NW_API is empty on Linux, as SAP's SAP_API outside Windows; the
// version script, not a mark in the source, picks the exports there.
#if defined(_WIN64) || (defined(__linux__) && defined(__x86_64__))
static_assert(sizeof(RFC_CONNECTION_HANDLE) == 8 && sizeof(RFC_FUNCTION_DESC_HANDLE) == 8 &&
              sizeof(RFC_TYPE_DESC_HANDLE) == 8 && sizeof(DATA_CONTAINER_HANDLE) == 8);
// Two pointers.
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 16);
static_assert(offsetof(RFC_CONNECTION_PARAMETER, name) == 0 &&
              offsetof(RFC_CONNECTION_PARAMETER, value) == 8);

// 62 bytes of name, two of padding, six 4-byte fields up to 88, then two
// pointers.
static_assert(sizeof(RFC_FIELD_DESC) == 104);
static_assert(offsetof(RFC_FIELD_DESC, name) == 0 && offsetof(RFC_FIELD_DESC, type) == 64 &&
              offsetof(RFC_FIELD_DESC, nucLength) == 68 &&
              offsetof(RFC_FIELD_DESC, nucOffset) == 72 &&
              offsetof(RFC_FIELD_DESC, ucLength) == 76 &&
              offsetof(RFC_FIELD_DESC, ucOffset) == 80 &&
              offsetof(RFC_FIELD_DESC, decimals) == 84 &&
              offsetof(RFC_FIELD_DESC, typeDescHandle) == 88 &&
              offsetof(RFC_FIELD_DESC, extendedDescription) == 96);

// The type handle after five 4-byte fields is padded from 84 to 88; the
// texts follow it (62 + 160 bytes), then the one-byte flag at 318 and the
// last pointer at 320: 328 bytes.
static_assert(sizeof(RFC_PARAMETER_DESC) == 328);
static_assert(offsetof(RFC_PARAMETER_DESC, name) == 0 && offsetof(RFC_PARAMETER_DESC, type) == 64 &&
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

}  // namespace rfcsim::nw
