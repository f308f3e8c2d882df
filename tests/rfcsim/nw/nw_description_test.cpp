// RfcGetFunctionDesc and the descriptions of parameters and fields.
#include "tests/rfcsim/nw/nw_fixture.h"

namespace rfcsim::nw::testing {
namespace {

struct ParameterCase {
  const char* module;
  const char* name;
  RFCTYPE type;
  RFC_DIRECTION direction;
  unsigned nuc_length;
  unsigned uc_length;
};

// The classic caller's exporting list is the module's RFC_IMPORT, its
// importing list RFC_EXPORT.
const ParameterCase kParameters[] = {
    {"GET_CPU_ALL", "LOCAL_REMOTE", RFCTYPE_CHAR, RFC_IMPORT, 6, 12},
    {"GET_CPU_ALL", "LOGICAL_DESTINATION", RFCTYPE_CHAR, RFC_IMPORT, 32, 64},
    {"GET_CPU_ALL", "ACTIVEFLAG", RFCTYPE_INT, RFC_EXPORT, 4, 4},
    {"GET_CPU_ALL", "OP_SYSTEM", RFCTYPE_CHAR, RFC_EXPORT, 52, 104},
    {"GET_CPU_ALL", "TF_CPU_ALL", RFCTYPE_TABLE, RFC_TABLES, 48, 48},
    {"RFC_SYSTEM_INFO", "RFCSI_EXPORT", RFCTYPE_STRUCTURE, RFC_EXPORT, 200, 400},
    {"RFC_SYSTEM_INFO", "RFC_LOGIN_COMPLETE", RFCTYPE_CHAR, RFC_EXPORT, 1, 2},
    {"ADA_DB_FILLING", "DEVSP_HIST", RFCTYPE_TABLE, RFC_TABLES, 104, 192},
    {"ADA_DB_FILLING", "DEVSTAT", RFCTYPE_TABLE, RFC_TABLES, 144, 216},
};

struct FieldCase {
  const char* parameter;  // the structure or table parameter
  const char* name;
  RFCTYPE type;
  unsigned nuc_offset, nuc_length, uc_offset, uc_length;
};

// Unicode offsets: characters take two bytes, integers align to 4, packed
// numbers to 1.
const FieldCase kFields[] = {
    {"RFCSI_EXPORT", "RFCPROTO", RFCTYPE_CHAR, 0, 3, 0, 6},
    {"RFCSI_EXPORT", "RFCDEST", RFCTYPE_CHAR, 13, 32, 26, 64},
    {"RFCSI_EXPORT", "RFCDBSYS", RFCTYPE_CHAR, 101, 10, 202, 20},
    {"RFCSI_EXPORT", "RFCSI_RESV", RFCTYPE_CHAR, 156, 44, 312, 88},
    {"DEVSTAT", "NAME", RFCTYPE_CHAR, 0, 70, 0, 140},
    {"DEVSTAT", "CONF_SIZE", RFCTYPE_BCD, 70, 11, 140, 11},
    {"DEVSTAT", "PAG", RFCTYPE_BCD, 81, 11, 151, 11},
    {"DEVSTAT", "PAGESx", RFCTYPE_INT, 92, 4, 164, 4},
    {"DEVSTAT", "PERM_USED", RFCTYPE_BCD, 96, 11, 168, 11},
    {"DEVSTAT", "PERMx_USED", RFCTYPE_INT, 108, 4, 180, 4},
    {"DEVSTAT", "TEMP_USED", RFCTYPE_BCD, 112, 11, 184, 11},
    {"DEVSTAT", "TEMPx_USED", RFCTYPE_INT, 124, 4, 196, 4},
    {"DEVSTAT", "UN_USED", RFCTYPE_BCD, 128, 11, 200, 11},
    {"DEVSTAT", "UNx_USED", RFCTYPE_INT, 140, 4, 212, 4},
    {"DEVSP_HIST", "DATUM", RFCTYPE_DATE, 73, 8, 146, 16},
    {"DEVSP_HIST", "ZEIT", RFCTYPE_TIME, 81, 6, 162, 12},
    {"DEVSP_HIST", "PUSED", RFCTYPE_INT, 88, 4, 176, 4},
    {"TF_CPU_ALL", "SERIALNR", RFCTYPE_INT2, 4, 2, 4, 2},
    {"TF_CPU_ALL", "NBR_CPU", RFCTYPE_INT, 8, 4, 8, 4},
};

const char* ModuleOf(std::string_view parameter) {
  if (parameter == "RFCSI_EXPORT") return "RFC_SYSTEM_INFO";
  if (parameter == "TF_CPU_ALL") return "GET_CPU_ALL";
  return "ADA_DB_FILLING";
}

class NwDescriptionTest : public NwTest {
 protected:
  RFC_FUNCTION_DESC_HANDLE Describe(const std::string& module) {
    if (!connection_) connection_ = OpenServer();
    RFC_ERROR_INFO error{};
    RFC_FUNCTION_DESC_HANDLE desc = RfcGetFunctionDesc(connection_, U(module).c_str(), &error);
    EXPECT_NE(desc, nullptr) << MessageOf(error);
    return desc;
  }

  std::optional<RFC_PARAMETER_DESC> Parameter(const std::string& module, const std::string& name) {
    RFC_FUNCTION_DESC_HANDLE desc = Describe(module);
    unsigned count = 0;
    EXPECT_EQ(RfcGetParameterCount(desc, &count, nullptr), RFC_OK);
    for (unsigned i = 0; i < count; ++i) {
      RFC_PARAMETER_DESC param{};
      EXPECT_EQ(RfcGetParameterDescByIndex(desc, i, &param, nullptr), RFC_OK);
      if (Narrow(param.name) == name) return param;
    }
    return std::nullopt;
  }

  RFC_CONNECTION_HANDLE connection_ = nullptr;
};

TEST_F(NwDescriptionTest, DescribesEachParameter) {
  UseLandscape(kTwoSystems);
  for (const ParameterCase& expected : kParameters) {
    SCOPED_TRACE(std::string(expected.module) + " " + expected.name);
    const auto param = Parameter(expected.module, expected.name);
    ASSERT_TRUE(param);
    EXPECT_EQ(param->type, expected.type);
    EXPECT_EQ(param->direction, expected.direction);
    EXPECT_EQ(param->nucLength, expected.nuc_length);
    EXPECT_EQ(param->ucLength, expected.uc_length);
    EXPECT_EQ(param->typeDescHandle != nullptr,
              expected.type == RFCTYPE_TABLE || expected.type == RFCTYPE_STRUCTURE);
  }
}

TEST_F(NwDescriptionTest, DescribesEachFieldInBothLayouts) {
  UseLandscape(kTwoSystems);
  for (const FieldCase& expected : kFields) {
    SCOPED_TRACE(std::string(expected.parameter) + " " + expected.name);
    const auto param = Parameter(ModuleOf(expected.parameter), expected.parameter);
    ASSERT_TRUE(param);
    unsigned count = 0;
    ASSERT_EQ(RfcGetFieldCount(param->typeDescHandle, &count, nullptr), RFC_OK);
    std::optional<RFC_FIELD_DESC> found;
    for (unsigned i = 0; i < count; ++i) {
      RFC_FIELD_DESC field{};
      ASSERT_EQ(RfcGetFieldDescByIndex(param->typeDescHandle, i, &field, nullptr), RFC_OK);
      if (Narrow(field.name) == expected.name) found = field;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(found->type, expected.type);
    EXPECT_EQ(found->nucOffset, expected.nuc_offset);
    EXPECT_EQ(found->nucLength, expected.nuc_length);
    EXPECT_EQ(found->ucOffset, expected.uc_offset);
    EXPECT_EQ(found->ucLength, expected.uc_length);
    EXPECT_EQ(found->decimals, 0u);
  }
}

TEST_F(NwDescriptionTest, ContainersDescribeTheirTypes) {
  UseLandscape(kTwoSystems);
  RFC_FUNCTION_HANDLE function = CreateFunction(OpenServer(), "ADA_DB_FILLING");
  RFC_TABLE_HANDLE table = nullptr;
  ASSERT_EQ(RfcGetTable(function, U("DEVSTAT").c_str(), &table, nullptr), RFC_OK);
  EXPECT_EQ(RfcDescribeType(table, nullptr),
            Parameter("ADA_DB_FILLING", "DEVSTAT")->typeDescHandle);
  RFC_ERROR_INFO error{};
  EXPECT_EQ(RfcDescribeType(function, &error), nullptr);
  EXPECT_EQ(error.code, RFC_INVALID_HANDLE);
}

TEST_F(NwDescriptionTest, UnknownModuleIsNotFound) {
  UseLandscape(kTwoSystems);
  RFC_CONNECTION_HANDLE connection = OpenServer();
  RFC_ERROR_INFO error{};
  EXPECT_EQ(RfcGetFunctionDesc(connection, U("Z_UNKNOWN").c_str(), &error), nullptr);
  EXPECT_EQ(error.code, RFC_NOT_FOUND);
  EXPECT_NE(MessageOf(error).find("Z_UNKNOWN"), std::string::npos);
  EXPECT_EQ(RfcGetFunctionDesc(nullptr, U("GET_CPU_ALL").c_str(), &error), nullptr);
  EXPECT_EQ(error.code, RFC_INVALID_HANDLE);
}

}  // namespace
}  // namespace rfcsim::nw::testing
