// An in-memory stand-in for the part of SAP's NetWeaver RFC library the
// backend calls: one simulated partner whose function modules answer what a
// test puts in, and which records what the backend handed over. The fake's
// functions have SAP's signatures and calling convention, so they fill an
// EntryPoints table as sapnwrfc.dll's exports do.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rfc/netweaver/entry_points.h"

namespace fake_nw {

// A field's value: an integer, or a text (for packed fields the decimal
// text RfcGetString hands out), or a packed field's bytes that are no
// packed number (RfcGetBytes only).
struct Value {
  bool is_integer = false;
  int integer = 0;
  std::u16string text;
  std::optional<std::string> raw_bytes;
};
Value Text(std::u16string text);
Value Integer(int value);
Value RawBytes(std::string bytes);

struct Container;

struct Field {
  std::u16string name;
  ::nw::RFCTYPE type;
  unsigned nuc_length;
  unsigned nuc_offset;
  unsigned decimals = 0;
};

struct TableData {
  std::vector<Field> fields;
  std::vector<Container> rows;
  unsigned cursor = 0;
};

struct Container {
  std::map<std::u16string, Value> values;
  std::map<std::u16string, Container> structures;
  std::map<std::u16string, TableData> tables;
};

struct Module {
  std::vector<::nw::RFC_PARAMETER_DESC> parameters;
  Container answer;
  // What RfcInvoke reports; code RFC_OK answers.
  ::nw::RFC_ERROR_INFO invoke_error{};
};

// A parameter description of `type` and `direction`.
::nw::RFC_PARAMETER_DESC Parameter(const std::u16string& name, ::nw::RFCTYPE type,
                                   ::nw::RFC_DIRECTION direction, unsigned nuc_length = 0);

// An error record with code, group, key and message.
::nw::RFC_ERROR_INFO Error(::nw::RFC_RC code, ::nw::RFC_ERROR_GROUP group,
                           const std::u16string& key, const std::u16string& message);

struct Partner {
  std::map<std::u16string, Module> modules;
  // What RfcOpenConnection reports when set; otherwise it connects.
  std::optional<::nw::RFC_ERROR_INFO> logon_error;
  // What RfcGetFunctionDesc reports for a module it does not have.
  ::nw::RFC_ERROR_INFO missing_module_error{};
  // Recorded: the parameters of each RfcOpenConnection (ISO 8859-1), the
  // values RfcSetChars set, the connections and functions not yet closed
  // or destroyed.
  std::vector<std::vector<std::pair<std::string, std::string>>> logons;
  std::map<std::u16string, std::u16string> sent;
  int open_connections = 0;
  int live_functions = 0;
};

// The partner the fake functions act on, emptied by Reset.
Partner& ThePartner();
void Reset();

// The fake's functions, every member set.
rfc::nw::EntryPoints EntryPoints();

}  // namespace fake_nw
