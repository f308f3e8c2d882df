// What RfcGetFunctionDesc hands out: the NetWeaver view of the function
// modules rfcsim knows (rfcsim/modules.h), with every parameter's
// direction as the called module sees it and every field's offsets and
// lengths in both a one-byte and a two-byte (Unicode) system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rfcsim/modules.h"
#include "rfcsim/nw/sapnwrfc_api.h"

namespace rfcsim::nw {

struct TypeDescription {
  std::string name;
  unsigned nuc_length = 0;
  unsigned uc_length = 0;
  std::vector<RFC_FIELD_DESC> fields;
  // The classic layout the rows are read from.
  const StructureLayout* layout = nullptr;
};

struct FunctionDescription {
  std::string name;
  const ModuleLayout* module = nullptr;
  std::vector<RFC_PARAMETER_DESC> parameters;
  // The type of each parameter of type structure or table, else null; same
  // index as `parameters`.
  std::vector<const TypeDescription*> types;
};

// Null for a module rfcsim does not know. Descriptions live as long as the
// process.
const FunctionDescription* FindFunctionDescription(std::string_view name);

// Whether `handle` is one of the descriptions above (and which).
const FunctionDescription* FunctionFromHandle(RFC_FUNCTION_DESC_HANDLE handle);
const TypeDescription* TypeFromHandle(RFC_TYPE_DESC_HANDLE handle);
RFC_FUNCTION_DESC_HANDLE HandleOf(const FunctionDescription& function);
RFC_TYPE_DESC_HANDLE HandleOf(const TypeDescription& type);

// A field or parameter name as the terminated UTF-16 text of the records.
std::u16string NameOf(const RFC_ABAP_NAME& name);

// Whether fields of `type` hold characters (CHAR, DATE, TIME, NUM).
bool IsTextType(RFCTYPE type);

}  // namespace rfcsim::nw
