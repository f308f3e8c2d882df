#include "rfcsim/module_answers.h"

#include <algorithm>
#include <cstdio>

#include "rfcsim/field_image.h"

namespace rfcsim {
namespace {

Json CpuDefault() {
  return {
      {"importing",
       {{"ACTIVEFLAG", 1},
        {"DETAILSCOLL", 0},
        {"DETAILSMODE", 0},
        {"DETAILSREQI", 0},
        {"F_CPU_ALL_READ", "X"},
        {"INTERVAL", 10},
        {"LASTCOLLINT", 10},
        {"LASTCOLLWRT", "20240501120000"},
        {"NORMCOLLINT", 10},
        {"OP_SYSTEM", "Windows NT"}}},
      {"tables",
       {{"TF_CPU_ALL", Json::array({{{"TYPE", 1},
                                     {"SUBTYPE", 0},
                                     {"SERIALNR", 1},
                                     {"NBR_CPU", 4},
                                     {"LOAD1_AVG", 25},
                                     {"LOAD5_AVG", 20},
                                     {"LOAD15_AVG", 18},
                                     {"INT_SEC", 1200},
                                     {"SYSC_SEC", 3400},
                                     {"CS_SEC", 5600},
                                     {"USR_TOTAL", 12},
                                     {"SYS_TOTAL", 5},
                                     {"IDLE_TOTAL", 83}}})}}},
  };
}

Json SystemInfoDefault(const SystemIdentity& system) {
  const std::string name = Latin1ToUtf8(system.name);
  const std::string host = Latin1ToUtf8(system.host);
  char number[8];
  std::snprintf(number, sizeof number, "%02d", system.sysnr);
  return {
      {"importing",
       {{"CURRENT_RESOURCES", 5},
        {"DIALOG_USER_TYPE", ""},
        {"MAXIMAL_RESOURCES", 10},
        {"RECOMMENDED_DELAY", 0},
        {"RFC_LOGIN_COMPLETE", "X"},
        {"RFCSI_EXPORT",
         {{"RFCPROTO", "011"},
          {"RFCCHARTYP", "1100"},
          {"RFCINTTYP", "LIT"},
          {"RFCFLOTYP", "IE3"},
          {"RFCDEST", host + "_" + name + "_" + number},
          {"RFCHOST", host},
          {"RFCSYSID", name},
          {"RFCDATABS", name},
          {"RFCDBHOST", host},
          {"RFCDBSYS", "ADABAS D"},
          {"RFCSAPRL", "46C"},
          {"RFCMACH", "  560"},
          {"RFCOPSYS", "Windows NT"},
          {"RFCTZONE", "  3600"},
          {"RFCDAYST", ""},
          {"RFCIPADDR", "10.0.0.10"},
          {"RFCKERNRL", "46D"},
          {"RFCSI_RESV", ""}}}}},
      {"tables", Json::object()},
  };
}

Json FillingDefault() {
  return {
      {"importing", Json::object()},
      {"tables",
       {{"DEVSP_HIST", Json::array({{{"NAME", "DISKD0001"},
                                     {"WDAY", "Wed"},
                                     {"DATUM", "20240501"},
                                     {"ZEIT", "120000"},
                                     {"PUSED", 757760},
                                     {"PUSEDx", 37},
                                     {"PFREE", 1290240},
                                     {"PFREEx", 63}}})},
        {"DEVSTAT", Json::array({{{"NAME", "DISKD0001"},
                                  {"CONF_SIZE", 2048000},
                                  {"PAG", 757760},
                                  {"PAGESx", 37},
                                  {"PERM_USED", 737280},
                                  {"PERMx_USED", 36},
                                  {"TEMP_USED", 20480},
                                  {"TEMPx_USED", 1},
                                  {"UN_USED", 1290240},
                                  {"UNx_USED", 63}}})}}},
  };
}

template <typename Layout>
const Layout* FindByName(std::span<const Layout> layouts, std::string_view name) {
  const auto it = std::find_if(layouts.begin(), layouts.end(),
                               [&](const Layout& layout) { return layout.name == name; });
  return it == layouts.end() ? nullptr : &*it;
}

Bytes BuildImporting(const ImportingLayout& layout, const Json& value, const std::string& path) {
  if (layout.kind == ParamKind::kStructure) {
    return BuildStructureImage(*layout.structure, value, path);
  }
  const FieldLayout field{layout.name,
                          layout.kind == ParamKind::kInt32 ? FieldKind::kInt32 : FieldKind::kChar,
                          0, layout.length};
  Bytes bytes(layout.length, 0);
  WriteField(field, value, bytes, path);
  return bytes;
}

}  // namespace

Json DefaultAnswer(const ModuleLayout& module, const SystemIdentity& system) {
  if (module.name == "GET_CPU_ALL") return CpuDefault();
  if (module.name == "RFC_SYSTEM_INFO") return SystemInfoDefault(system);
  if (module.name == "ADA_DB_FILLING") return FillingDefault();
  return Json::object();
}

ModuleAnswer BuildModuleAnswer(const ModuleLayout& module, const SystemIdentity& system,
                               const Json& overlay, const std::string& path) {
  Json merged = DefaultAnswer(module, system);
  if (!overlay.is_null()) {
    RequireObject(overlay, path);
    RejectUnknownKeys(overlay, {"importing", "tables"}, path);
    merged.merge_patch(overlay);
  }

  ModuleAnswer answer;
  const std::string importing_path = ChildPath(path, "importing");
  if (merged.contains("importing")) {
    RequireObject(merged["importing"], importing_path);
    for (const auto& [name, value] : merged["importing"].items()) {
      const std::string param_path = ChildPath(importing_path, name);
      const ImportingLayout* layout = FindByName(module.importing, name);
      if (!layout) throw SchemaError(param_path, "no importing parameter of that name");
      answer.importing[name] = BuildImporting(*layout, value, param_path);
    }
  }
  const std::string tables_path = ChildPath(path, "tables");
  if (merged.contains("tables")) {
    RequireObject(merged["tables"], tables_path);
    for (const auto& [name, rows] : merged["tables"].items()) {
      const std::string table_path = ChildPath(tables_path, name);
      const TableLayout* layout = FindByName(module.tables, name);
      if (!layout) throw SchemaError(table_path, "no table of that name");
      RequireArray(rows, table_path);
      auto& images = answer.tables[name];
      for (std::size_t i = 0; i < rows.size(); ++i) {
        images.push_back(BuildStructureImage(*layout->row, rows[i], ChildPath(table_path, i)));
      }
    }
  }
  return answer;
}

}  // namespace rfcsim
