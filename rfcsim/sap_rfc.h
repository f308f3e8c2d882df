// SAP's classic RFC client interface as rfcsim implements it: the records and
// the twelve functions of librfc32, declared after SAP's public classic RFC
// SDK headers saprfc.h (connections, calls, errors) and sapitab.h (internal
// tables), in their single-byte (non-Unicode) form. Names, field order and
// field types are SAP's; the layouts SAP's library has on 32-bit and on
// 64-bit Windows are pinned at the end of this file.
//
// This is rfcsim's own declaration, written independently of the sensor's
// (rfc/rfc_api.h), so that a mistake in one shows as a disagreement with the
// other instead of hiding in both. The two declare the same C functions with
// different record types: no translation unit may include both.
//
// Where this declaration differs from SAP's header, the difference changes
// neither a size nor an offset nor a C symbol:
// - Texts the library only reads are pointers to const; SAP declares them
//   without const.
// - The enumerations stored in records or returned have the fixed type int,
//   the size SAP's C enumerations have, so that any value a caller stores
//   (or a landscape's fault returns) is a valid value of the type.
#pragma once

#include <cstddef>

#if defined(_WIN32)
// SAP_API and DLL_CALL_BACK_FUNCTION: __stdcall on Windows (SAPonNT) for the
// library's functions and for the functions it calls back.
#define SAP_API __stdcall
#define DLL_CALL_BACK_FUNCTION __stdcall
#else
#define SAP_API
#define DLL_CALL_BACK_FUNCTION
#endif

extern "C" {

// Single-byte characters (SAP_UC in the non-Unicode library).
typedef char rfc_char_t;
typedef rfc_char_t RFC_CHAR;

// A connection; 0 means none.
typedef unsigned RFC_HANDLE;

// A scalar type code (RFCTYPE) or a structure installed by
// RfcInstallStructure.
typedef unsigned RFC_TYPEHANDLE;

// An internal table: the address of its control structure; null is none.
typedef void* ITAB_H;

// The scalar type codes (SAP's RFCTYPE, up to the 1-byte integer). Unsigned
// like the RFC_TYPEHANDLE fields they are compared with.
enum RFCTYPE : unsigned {
  RFCTYPE_CHAR = 0,
  RFCTYPE_DATE = 1,
  RFCTYPE_BCD = 2,
  RFCTYPE_TIME = 3,
  RFCTYPE_BYTE = 4,
  RFCTYPE_ITAB = 5,
  RFCTYPE_NUM = 6,
  RFCTYPE_FLOAT = 7,
  RFCTYPE_INT = 8,
  RFCTYPE_INT2 = 9,
  RFCTYPE_INT1 = 10,
};

// Results of RfcCall, RfcReceive and RfcInstallStructure. SAP's list goes on
// (RFC_CALL, RFC_CLOSED, ...); rfcsim returns these and whatever int a
// landscape's fault names.
enum RFC_RC : int {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3,
};

// ---- Environment -----------------------------------------------------------

typedef void*(DLL_CALL_BACK_FUNCTION* RFC_ALLOCATE)(void* old_ptr, unsigned long size);
typedef void(DLL_CALL_BACK_FUNCTION* RFC_ERROR_HANDLER)(rfc_char_t* error_id);

struct RFC_ENV {
  RFC_ERROR_HANDLER errorhandler;
  RFC_ALLOCATE allocate;
};

// ---- Errors ----------------------------------------------------------------

// The last error, as RfcLastError hands it out: four terminated texts.
struct RFC_ERROR_INFO {
  RFC_CHAR key[33];
  RFC_CHAR status[128];
  RFC_CHAR message[256];
  RFC_CHAR intstat[128];
};

// What kind of error; the error key names the same group as text.
enum RFC_ERROR_GROUP : int {
  RFC_ERROR_PROGRAM = 101,
  RFC_ERROR_COMMUNICATION = 102,
  RFC_ERROR_LOGON_FAILURE = 103,
  RFC_ERROR_SYSTEM_FAILURE = 104,
  RFC_ERROR_APPLICATION_EXCEPTION = 105,
  RFC_ERROR_RESOURCE = 106,
  RFC_ERROR_PROTOCOL = 107,
  RFC_ERROR_INTERNAL = 108,
  RFC_ERROR_CANCELLED = 109,
  RFC_ERROR_BUSY = 110,
};

// The error record of RfcOpenEx: a different, larger record than
// RFC_ERROR_INFO.
struct RFC_ERROR_INFO_EX {
  RFC_ERROR_GROUP group;
  RFC_CHAR key[33];
  RFC_CHAR message[513];
};

// ---- Opening a connection --------------------------------------------------

// What RFC_OPTIONS.connopt points to. rfcsim knows the first two modes;
// SAP's list goes on (RFC_MODE_VERSION_3 = 3, ...).
enum RFC_MODE : int {
  RFC_MODE_R3ONLY = 0,  // connopt: RFC_CONNOPT_R3ONLY
  RFC_MODE_CPIC = 1,    // connopt: RFC_CONNOPT_CPIC (R/2, through a gateway)
};

// An application server. Null gateway texts mean the server's own gateway.
struct RFC_CONNOPT_R3ONLY {
  const rfc_char_t* hostname;
  int sysnr;
  const rfc_char_t* gateway_host;
  const rfc_char_t* gateway_service;
};

// A partner reached through a gateway only.
struct RFC_CONNOPT_CPIC {
  const rfc_char_t* gateway_host;
  const rfc_char_t* gateway_service;
};

// The logon of RfcOpen. Absent texts are null.
struct RFC_OPTIONS {
  const rfc_char_t* destination;
  RFC_MODE mode;
  void* connopt;
  const rfc_char_t* client;
  const rfc_char_t* user;
  const rfc_char_t* password;
  const rfc_char_t* language;
  int trace;
};

// ---- Calls -----------------------------------------------------------------

// One exporting or importing parameter. A list ends with an entry whose name
// is null.
struct RFC_PARAMETER {
  const RFC_CHAR* name;
  unsigned nlen;        // strlen(name)
  RFC_TYPEHANDLE type;  // a scalar type code or an installed structure
  unsigned leng;        // the field's length in bytes
  void* addr;
};

enum RFC_ITMODE : int {
  RFC_ITMODE_BYREFERENCE = 0,
  RFC_ITMODE_BYVALUE = 1,
  RFC_ITMODE_KEEPALIVE = 2,
};

// One table of a call. A list ends with an entry whose name is null.
struct RFC_TABLE {
  const RFC_CHAR* name;
  unsigned nlen;        // strlen(name)
  RFC_TYPEHANDLE type;  // the type of the rows
  unsigned leng;        // the length of one row in bytes
  ITAB_H ithandle;
  RFC_ITMODE itmode;
  int newitab;
};

// One field of a structure description for RfcInstallStructure. rfcsim
// reads none of it but records it, the last field as "offset": callers put
// the field's offset there, the field RFC_TYPE_ELEMENT2 (of
// RfcInstallStructure2) names so.
struct RFC_TYPE_ELEMENT {
  const rfc_char_t* name;
  RFC_TYPEHANDLE type;
  unsigned length;
  unsigned decimals;
  unsigned _not_used;
};

// ---- The twelve functions --------------------------------------------------

void SAP_API RfcEnvironment(RFC_ENV* new_env);
RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options);
RFC_HANDLE SAP_API RfcOpenEx(const rfc_char_t* connect_param, RFC_ERROR_INFO_EX* error_info);
void SAP_API RfcClose(RFC_HANDLE handle);
// 0 when `error_info` was filled in, 1 otherwise.
int SAP_API RfcLastError(RFC_ERROR_INFO* error_info);
RFC_RC SAP_API RfcInstallStructure(const rfc_char_t* name, RFC_TYPE_ELEMENT* elements,
                                   unsigned entries, RFC_TYPEHANDLE* pTypeHandle);
RFC_RC SAP_API RfcCall(RFC_HANDLE handle, const rfc_char_t* function, RFC_PARAMETER* parameters,
                       RFC_TABLE* tables);
RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* parameters, RFC_TABLE* tables,
                          rfc_char_t** exception);

ITAB_H SAP_API ItCreate(const rfc_char_t* name, unsigned leng, unsigned occu, unsigned memo);
// The number of rows.
unsigned SAP_API ItFill(ITAB_H itab);
// Row `line`, counted from 1; null when there is no such row.
void* SAP_API ItGetLine(ITAB_H itab, unsigned line);
// 0 when the table was deleted.
int SAP_API ItDelete(ITAB_H itab);

}  // extern "C"

// The error records hold no pointer: one layout on both widths of Windows.
#if defined(_WIN32)
static_assert(sizeof(RFC_ERROR_INFO) == 545);
static_assert(offsetof(RFC_ERROR_INFO, key) == 0 && offsetof(RFC_ERROR_INFO, status) == 33 &&
              offsetof(RFC_ERROR_INFO, message) == 161 && offsetof(RFC_ERROR_INFO, intstat) == 417);
static_assert(sizeof(RFC_ERROR_INFO_EX) == 552);
static_assert(offsetof(RFC_ERROR_INFO_EX, group) == 0 && offsetof(RFC_ERROR_INFO_EX, key) == 4 &&
              offsetof(RFC_ERROR_INFO_EX, message) == 37);
#endif

// SAP's layout on 32-bit Windows, where callers built against SAP's header
// meet rfcsim's DLL.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(RFC_ENV) == 8);
static_assert(offsetof(RFC_ENV, errorhandler) == 0 && offsetof(RFC_ENV, allocate) == 4);

static_assert(sizeof(RFC_CONNOPT_R3ONLY) == 16);
static_assert(offsetof(RFC_CONNOPT_R3ONLY, hostname) == 0 &&
              offsetof(RFC_CONNOPT_R3ONLY, sysnr) == 4 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_host) == 8 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_service) == 12);
static_assert(sizeof(RFC_CONNOPT_CPIC) == 8);
static_assert(offsetof(RFC_CONNOPT_CPIC, gateway_host) == 0 &&
              offsetof(RFC_CONNOPT_CPIC, gateway_service) == 4);
static_assert(sizeof(RFC_OPTIONS) == 32);
static_assert(offsetof(RFC_OPTIONS, destination) == 0 && offsetof(RFC_OPTIONS, mode) == 4 &&
              offsetof(RFC_OPTIONS, connopt) == 8 && offsetof(RFC_OPTIONS, client) == 12 &&
              offsetof(RFC_OPTIONS, user) == 16 && offsetof(RFC_OPTIONS, password) == 20 &&
              offsetof(RFC_OPTIONS, language) == 24 && offsetof(RFC_OPTIONS, trace) == 28);

static_assert(sizeof(RFC_PARAMETER) == 20);
static_assert(offsetof(RFC_PARAMETER, name) == 0 && offsetof(RFC_PARAMETER, nlen) == 4 &&
              offsetof(RFC_PARAMETER, type) == 8 && offsetof(RFC_PARAMETER, leng) == 12 &&
              offsetof(RFC_PARAMETER, addr) == 16);
static_assert(sizeof(RFC_TABLE) == 28);
static_assert(offsetof(RFC_TABLE, name) == 0 && offsetof(RFC_TABLE, nlen) == 4 &&
              offsetof(RFC_TABLE, type) == 8 && offsetof(RFC_TABLE, leng) == 12 &&
              offsetof(RFC_TABLE, ithandle) == 16 && offsetof(RFC_TABLE, itmode) == 20 &&
              offsetof(RFC_TABLE, newitab) == 24);
static_assert(sizeof(RFC_TYPE_ELEMENT) == 20);
static_assert(offsetof(RFC_TYPE_ELEMENT, name) == 0 && offsetof(RFC_TYPE_ELEMENT, type) == 4 &&
              offsetof(RFC_TYPE_ELEMENT, length) == 8 &&
              offsetof(RFC_TYPE_ELEMENT, decimals) == 12 &&
              offsetof(RFC_TYPE_ELEMENT, _not_used) == 16);
#endif

// SAP's layout on 64-bit Windows (LLP64), where callers built against SAP's
// header meet rfcsim's 64-bit DLL: pointers (texts, ITAB_H, callbacks) take
// 8 bytes and are aligned to 8; int, unsigned, long, the enumerations and
// the handles RFC_HANDLE and RFC_TYPEHANDLE (unsigned) stay at 4.
#if defined(_WIN64)
static_assert(sizeof(RFC_HANDLE) == 4 && sizeof(RFC_TYPEHANDLE) == 4 && sizeof(ITAB_H) == 8 &&
              sizeof(unsigned long) == 4);

static_assert(sizeof(RFC_ENV) == 16);
static_assert(offsetof(RFC_ENV, errorhandler) == 0 && offsetof(RFC_ENV, allocate) == 8);

// The system number is padded to 8 bytes before the next pointer.
static_assert(sizeof(RFC_CONNOPT_R3ONLY) == 32);
static_assert(offsetof(RFC_CONNOPT_R3ONLY, hostname) == 0 &&
              offsetof(RFC_CONNOPT_R3ONLY, sysnr) == 8 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_host) == 16 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_service) == 24);
static_assert(sizeof(RFC_CONNOPT_CPIC) == 16);
static_assert(offsetof(RFC_CONNOPT_CPIC, gateway_host) == 0 &&
              offsetof(RFC_CONNOPT_CPIC, gateway_service) == 8);
// So are the mode and the trace flag, the last one to the record's end.
static_assert(sizeof(RFC_OPTIONS) == 64);
static_assert(offsetof(RFC_OPTIONS, destination) == 0 && offsetof(RFC_OPTIONS, mode) == 8 &&
              offsetof(RFC_OPTIONS, connopt) == 16 && offsetof(RFC_OPTIONS, client) == 24 &&
              offsetof(RFC_OPTIONS, user) == 32 && offsetof(RFC_OPTIONS, password) == 40 &&
              offsetof(RFC_OPTIONS, language) == 48 && offsetof(RFC_OPTIONS, trace) == 56);

// Three 4-byte fields after the name, then padding before the address.
static_assert(sizeof(RFC_PARAMETER) == 32);
static_assert(offsetof(RFC_PARAMETER, name) == 0 && offsetof(RFC_PARAMETER, nlen) == 8 &&
              offsetof(RFC_PARAMETER, type) == 12 && offsetof(RFC_PARAMETER, leng) == 16 &&
              offsetof(RFC_PARAMETER, addr) == 24);
static_assert(sizeof(RFC_TABLE) == 40);
static_assert(offsetof(RFC_TABLE, name) == 0 && offsetof(RFC_TABLE, nlen) == 8 &&
              offsetof(RFC_TABLE, type) == 12 && offsetof(RFC_TABLE, leng) == 16 &&
              offsetof(RFC_TABLE, ithandle) == 24 && offsetof(RFC_TABLE, itmode) == 32 &&
              offsetof(RFC_TABLE, newitab) == 36);
static_assert(sizeof(RFC_TYPE_ELEMENT) == 24);
static_assert(offsetof(RFC_TYPE_ELEMENT, name) == 0 && offsetof(RFC_TYPE_ELEMENT, type) == 8 &&
              offsetof(RFC_TYPE_ELEMENT, length) == 12 &&
              offsetof(RFC_TYPE_ELEMENT, decimals) == 16 &&
              offsetof(RFC_TYPE_ELEMENT, _not_used) == 20);
#endif
