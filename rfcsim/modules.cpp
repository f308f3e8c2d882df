#include "rfcsim/modules.h"

#include <array>

namespace rfcsim {
namespace {

using enum FieldKind;

// GET_CPU_ALL, table TF_CPU_ALL: three 2-byte then ten 4-byte integers.
constexpr std::array kCpuAllFields{
    FieldLayout{"TYPE", kInt16, 0, 2},        FieldLayout{"SUBTYPE", kInt16, 2, 2},
    FieldLayout{"SERIALNR", kInt16, 4, 2},    FieldLayout{"NBR_CPU", kInt32, 8, 4},
    FieldLayout{"LOAD1_AVG", kInt32, 12, 4},  FieldLayout{"LOAD5_AVG", kInt32, 16, 4},
    FieldLayout{"LOAD15_AVG", kInt32, 20, 4}, FieldLayout{"INT_SEC", kInt32, 24, 4},
    FieldLayout{"SYSC_SEC", kInt32, 28, 4},   FieldLayout{"CS_SEC", kInt32, 32, 4},
    FieldLayout{"USR_TOTAL", kInt32, 36, 4},  FieldLayout{"SYS_TOTAL", kInt32, 40, 4},
    FieldLayout{"IDLE_TOTAL", kInt32, 44, 4},
};
constexpr StructureLayout kCpuAll{"CPU_ALL", 48, kCpuAllFields};

// RFC_SYSTEM_INFO, importing RFCSI_EXPORT: character fields back to back.
constexpr std::array kRfcsiFields{
    FieldLayout{"RFCPROTO", kChar, 0, 3},    FieldLayout{"RFCCHARTYP", kChar, 3, 4},
    FieldLayout{"RFCINTTYP", kChar, 7, 3},   FieldLayout{"RFCFLOTYP", kChar, 10, 3},
    FieldLayout{"RFCDEST", kChar, 13, 32},   FieldLayout{"RFCHOST", kChar, 45, 8},
    FieldLayout{"RFCSYSID", kChar, 53, 8},   FieldLayout{"RFCDATABS", kChar, 61, 8},
    FieldLayout{"RFCDBHOST", kChar, 69, 32}, FieldLayout{"RFCDBSYS", kChar, 101, 10},
    FieldLayout{"RFCSAPRL", kChar, 111, 4},  FieldLayout{"RFCMACH", kChar, 115, 5},
    FieldLayout{"RFCOPSYS", kChar, 120, 10}, FieldLayout{"RFCTZONE", kChar, 130, 6},
    FieldLayout{"RFCDAYST", kChar, 136, 1},  FieldLayout{"RFCIPADDR", kChar, 137, 15},
    FieldLayout{"RFCKERNRL", kChar, 152, 4}, FieldLayout{"RFCSI_RESV", kChar, 156, 44},
};
constexpr StructureLayout kRfcsi{"RFCSI", 200, kRfcsiFields};

// ADA_DB_FILLING, table DEVSP_HIST.
constexpr std::array kDbHistFields{
    FieldLayout{"NAME", kChar, 0, 70},   FieldLayout{"WDAY", kChar, 70, 3},
    FieldLayout{"DATUM", kChar, 73, 8},  FieldLayout{"ZEIT", kChar, 81, 6},
    FieldLayout{"PUSED", kInt32, 88, 4}, FieldLayout{"PUSEDx", kInt32, 92, 4},
    FieldLayout{"PFREE", kInt32, 96, 4}, FieldLayout{"PFREEx", kInt32, 100, 4},
};
constexpr StructureLayout kDbHist{"ADA_DBHIST", 104, kDbHistFields};

// ADA_DB_FILLING, table DEVSTAT: five packed sizes of 11 bytes.
constexpr std::array kDevStatFields{
    FieldLayout{"NAME", kChar, 0, 70},          FieldLayout{"CONF_SIZE", kPacked, 70, 11},
    FieldLayout{"PAG", kPacked, 81, 11},        FieldLayout{"PAGESx", kInt32, 92, 4},
    FieldLayout{"PERM_USED", kPacked, 96, 11},  FieldLayout{"PERMx_USED", kInt32, 108, 4},
    FieldLayout{"TEMP_USED", kPacked, 112, 11}, FieldLayout{"TEMPx_USED", kInt32, 124, 4},
    FieldLayout{"UN_USED", kPacked, 128, 11},   FieldLayout{"UNx_USED", kInt32, 140, 4},
};
constexpr StructureLayout kDevStat{"ADA_DEVSTA", 144, kDevStatFields};

constexpr std::array kCpuImporting{
    ImportingLayout{"ACTIVEFLAG", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"DETAILSCOLL", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"DETAILSMODE", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"DETAILSREQI", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"F_CPU_ALL_READ", ParamKind::kChar, 3, nullptr},
    ImportingLayout{"INTERVAL", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"LASTCOLLINT", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"LASTCOLLWRT", ParamKind::kChar, 25, nullptr},
    ImportingLayout{"NORMCOLLINT", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"OP_SYSTEM", ParamKind::kChar, 52, nullptr},
};
constexpr std::array kCpuTables{TableLayout{"TF_CPU_ALL", &kCpuAll}};

constexpr std::array kSystemInfoImporting{
    ImportingLayout{"CURRENT_RESOURCES", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"DIALOG_USER_TYPE", ParamKind::kChar, 1, nullptr},
    ImportingLayout{"MAXIMAL_RESOURCES", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"RECOMMENDED_DELAY", ParamKind::kInt32, 4, nullptr},
    ImportingLayout{"RFCSI_EXPORT", ParamKind::kStructure, 200, &kRfcsi},
    ImportingLayout{"RFC_LOGIN_COMPLETE", ParamKind::kChar, 1, nullptr},
};

constexpr std::array kFillingTables{TableLayout{"DEVSP_HIST", &kDbHist},
                                    TableLayout{"DEVSTAT", &kDevStat}};

constexpr std::array kModules{
    ModuleLayout{"GET_CPU_ALL", kCpuImporting, kCpuTables},
    ModuleLayout{"RFC_SYSTEM_INFO", kSystemInfoImporting, {}},
    ModuleLayout{"ADA_DB_FILLING", {}, kFillingTables},
};

}  // namespace

std::span<const ModuleLayout> KnownModules() { return kModules; }

const ModuleLayout* FindModule(std::string_view name) {
  for (const ModuleLayout& module : kModules) {
    if (module.name == name) return &module;
  }
  return nullptr;
}

}  // namespace rfcsim
