// Taking the NetWeaver functions by SAP's export names: each pointer must
// land in its own member, and a missing export must be named.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "rfc/netweaver/entry_points.h"
#include "tests/rfc/netweaver/fake_netweaver.h"

namespace {

using Address = void (*)();

template <typename Function>
Address Untyped(Function function) {
  return reinterpret_cast<Address>(function);
}

// The fake's functions under SAP's export names.
std::map<std::string, Address> Exports(const rfc::nw::EntryPoints& f) {
  return {
      {"RfcOpenConnection", Untyped(f.open_connection)},
      {"RfcCloseConnection", Untyped(f.close_connection)},
      {"RfcGetFunctionDesc", Untyped(f.get_function_desc)},
      {"RfcCreateFunction", Untyped(f.create_function)},
      {"RfcDestroyFunction", Untyped(f.destroy_function)},
      {"RfcInvoke", Untyped(f.invoke)},
      {"RfcSetChars", Untyped(f.set_chars)},
      {"RfcGetChars", Untyped(f.get_chars)},
      {"RfcGetInt", Untyped(f.get_int)},
      {"RfcGetInt1", Untyped(f.get_int1)},
      {"RfcGetInt2", Untyped(f.get_int2)},
      {"RfcGetString", Untyped(f.get_string)},
      {"RfcGetBytes", Untyped(f.get_bytes)},
      {"RfcGetStructure", Untyped(f.get_structure)},
      {"RfcGetTable", Untyped(f.get_table)},
      {"RfcGetRowCount", Untyped(f.get_row_count)},
      {"RfcMoveTo", Untyped(f.move_to)},
      {"RfcGetCurrentRow", Untyped(f.get_current_row)},
      {"RfcDescribeType", Untyped(f.describe_type)},
      {"RfcGetFieldCount", Untyped(f.get_field_count)},
      {"RfcGetFieldDescByIndex", Untyped(f.get_field_desc_by_index)},
      {"RfcGetParameterCount", Untyped(f.get_parameter_count)},
      {"RfcGetParameterDescByIndex", Untyped(f.get_parameter_desc_by_index)},
  };
}

TEST(NetWeaverEntryPoints, EachTakenByItsNameOrTheMissingOneNamed) {
  const rfc::nw::EntryPoints fake = fake_nw::EntryPoints();
  for (const char* missing :
       {"", "RfcOpenConnection", "RfcGetInt1", "RfcGetParameterDescByIndex"}) {
    std::map<std::string, Address> exports = Exports(fake);
    exports.erase(missing);
    const rfc::EntryPointFinder find = [&](const char* name) -> Address {
      const auto it = exports.find(name);
      return it == exports.end() ? nullptr : it->second;
    };
    rfc::nw::EntryPoints taken;
    const std::optional<std::string> result = rfc::nw::TakeEntryPoints(find, taken);
    if (*missing == '\0') {
      EXPECT_EQ(result, std::nullopt);
      EXPECT_EQ(std::memcmp(&taken, &fake, sizeof taken), 0) << "a pointer in another's member";
    } else {
      EXPECT_EQ(result, std::string(missing));
      EXPECT_EQ(taken.open_connection, nullptr) << missing << ": nothing taken";
      EXPECT_EQ(taken.get_parameter_desc_by_index, nullptr) << missing << ": nothing taken";
    }
  }
}

}  // namespace
