// The NetWeaver functions the backend takes, as pointers: taken by SAP's
// names from sapnwrfc.dll when the program loads it, or filled by a test
// with a fake. The pointer types come from the declarations in
// nw_rfc_api.h, so a pointer cannot disagree with SAP's signature.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "rfc/entry_point.h"
#include "rfc/netweaver/nw_rfc_api.h"

namespace rfc::nw {

struct EntryPoints {
  decltype(&::nw::RfcOpenConnection) open_connection = nullptr;
  decltype(&::nw::RfcCloseConnection) close_connection = nullptr;
  decltype(&::nw::RfcGetFunctionDesc) get_function_desc = nullptr;
  decltype(&::nw::RfcCreateFunction) create_function = nullptr;
  decltype(&::nw::RfcDestroyFunction) destroy_function = nullptr;
  decltype(&::nw::RfcInvoke) invoke = nullptr;
  decltype(&::nw::RfcSetChars) set_chars = nullptr;
  decltype(&::nw::RfcGetChars) get_chars = nullptr;
  decltype(&::nw::RfcGetInt) get_int = nullptr;
  decltype(&::nw::RfcGetInt1) get_int1 = nullptr;
  decltype(&::nw::RfcGetInt2) get_int2 = nullptr;
  decltype(&::nw::RfcGetString) get_string = nullptr;
  decltype(&::nw::RfcGetBytes) get_bytes = nullptr;
  decltype(&::nw::RfcGetStructure) get_structure = nullptr;
  decltype(&::nw::RfcGetTable) get_table = nullptr;
  decltype(&::nw::RfcGetRowCount) get_row_count = nullptr;
  decltype(&::nw::RfcMoveTo) move_to = nullptr;
  decltype(&::nw::RfcGetCurrentRow) get_current_row = nullptr;
  decltype(&::nw::RfcDescribeType) describe_type = nullptr;
  decltype(&::nw::RfcGetFieldCount) get_field_count = nullptr;
  decltype(&::nw::RfcGetFieldDescByIndex) get_field_desc_by_index = nullptr;
  decltype(&::nw::RfcGetParameterCount) get_parameter_count = nullptr;
  decltype(&::nw::RfcGetParameterDescByIndex) get_parameter_desc_by_index = nullptr;
};

// SAP's names of the functions above, in the order of the members.
inline constexpr std::array<const char*, 23> kEntryPointNames = {
    "RfcOpenConnection",
    "RfcCloseConnection",
    "RfcGetFunctionDesc",
    "RfcCreateFunction",
    "RfcDestroyFunction",
    "RfcInvoke",
    "RfcSetChars",
    "RfcGetChars",
    "RfcGetInt",
    "RfcGetInt1",
    "RfcGetInt2",
    "RfcGetString",
    "RfcGetBytes",
    "RfcGetStructure",
    "RfcGetTable",
    "RfcGetRowCount",
    "RfcMoveTo",
    "RfcGetCurrentRow",
    "RfcDescribeType",
    "RfcGetFieldCount",
    "RfcGetFieldDescByIndex",
    "RfcGetParameterCount",
    "RfcGetParameterDescByIndex",
};

// Fills every member of `points` through `find`. Returns the name of the
// first function `find` does not know; `points` is then left as it was.
std::optional<std::string> TakeEntryPoints(const EntryPointFinder& find, EntryPoints& points);

}  // namespace rfc::nw
