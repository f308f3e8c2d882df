#include "rfcsim/module_answers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <variant>

#include "rfcsim/field_image.h"

namespace rfcsim {
namespace {

// The built-in answers are written straight into their bytes: building them
// as JSON first cost a poll more than all of the sensor's own work.
struct FieldValue {
  std::string_view name;
  std::variant<std::int64_t, std::string> value;
};

template <typename Layout>
const Layout* FindByName(std::span<const Layout> layouts, std::string_view name) {
  const auto it = std::find_if(layouts.begin(), layouts.end(),
                               [&](const Layout& layout) { return layout.name == name; });
  return it == layouts.end() ? nullptr : &*it;
}

template <typename Layout>
const Layout& Known(std::span<const Layout> layouts, std::string_view name) {
  const Layout* layout = FindByName(layouts, name);
  if (!layout) throw std::logic_error(platform::Joined("no layout named ", name));
  return *layout;
}

// An importing integer or text, seen as a field of its own.
FieldLayout ScalarField(const ImportingLayout& param) {
  return {param.name, param.kind == ParamKind::kInt32 ? FieldKind::kInt32 : FieldKind::kChar, 0,
          param.length};
}

void WriteValue(const FieldLayout& field, const FieldValue& given, std::span<unsigned char> bytes) {
  if (const auto* number = std::get_if<std::int64_t>(&given.value)) {
    WriteNumber(field, *number, bytes);
  } else {
    WriteText(std::get<std::string>(given.value), bytes);
  }
}

Bytes Image(const StructureLayout& layout, std::initializer_list<FieldValue> values) {
  Bytes image(layout.length, 0);
  for (const FieldValue& given : values) {
    const FieldLayout& field = Known(layout.fields, given.name);
    WriteValue(field, given, std::span(image).subspan(field.offset, field.length));
  }
  return image;
}

void SetImporting(ModuleAnswer& answer, const ModuleLayout& module,
                  std::initializer_list<FieldValue> values) {
  for (const FieldValue& given : values) {
    const ImportingLayout& param = Known(module.importing, given.name);
    Bytes bytes(param.length, 0);
    WriteValue(ScalarField(param), given, bytes);
    answer.importing[std::string(given.name)] = std::move(bytes);
  }
}

void AddRow(ModuleAnswer& answer, const ModuleLayout& module, std::string_view table,
            std::initializer_list<FieldValue> values) {
  answer.tables[std::string(table)].push_back(Image(*Known(module.tables, table).row, values));
}

ModuleAnswer CpuDefault(const ModuleLayout& module) {
  ModuleAnswer answer;
  SetImporting(answer, module,
               {{"ACTIVEFLAG", 1},
                {"DETAILSCOLL", 0},
                {"DETAILSMODE", 0},
                {"DETAILSREQI", 0},
                {"F_CPU_ALL_READ", "X"},
                {"INTERVAL", 10},
                {"LASTCOLLINT", 10},
                {"LASTCOLLWRT", "20240501120000"},
                {"NORMCOLLINT", 10},
                {"OP_SYSTEM", "Windows NT"}});
  AddRow(answer, module, "TF_CPU_ALL",
         {{"TYPE", 1},
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
          {"IDLE_TOTAL", 83}});
  return answer;
}

ModuleAnswer SystemInfoDefault(const ModuleLayout& module, const SystemIdentity& system) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", system.sysnr);
  ModuleAnswer answer;
  SetImporting(answer, module,
               {{"CURRENT_RESOURCES", 5},
                {"DIALOG_USER_TYPE", ""},
                {"MAXIMAL_RESOURCES", 10},
                {"RECOMMENDED_DELAY", 0},
                {"RFC_LOGIN_COMPLETE", "X"}});
  answer.importing["RFCSI_EXPORT"] =
      Image(*Known(module.importing, "RFCSI_EXPORT").structure,
            {{"RFCPROTO", "011"},
             {"RFCCHARTYP", "1100"},
             {"RFCINTTYP", "LIT"},
             {"RFCFLOTYP", "IE3"},
             {"RFCDEST", platform::Joined(system.host, "_", system.name, "_", number)},
             {"RFCHOST", system.host},
             {"RFCSYSID", system.name},
             {"RFCDATABS", system.name},
             {"RFCDBHOST", system.host},
             {"RFCDBSYS", "ADABAS D"},
             {"RFCSAPRL", "46C"},
             {"RFCMACH", "  560"},
             {"RFCOPSYS", "Windows NT"},
             {"RFCTZONE", "  3600"},
             {"RFCDAYST", ""},
             {"RFCIPADDR", "10.0.0.10"},
             {"RFCKERNRL", "46D"},
             {"RFCSI_RESV", ""}});
  return answer;
}

ModuleAnswer FillingDefault(const ModuleLayout& module) {
  ModuleAnswer answer;
  AddRow(answer, module, "DEVSP_HIST",
         {{"NAME", "DISKD0001"},
          {"WDAY", "Wed"},
          {"DATUM", "20240501"},
          {"ZEIT", "120000"},
          {"PUSED", 757760},
          {"PUSEDx", 37},
          {"PFREE", 1290240},
          {"PFREEx", 63}});
  AddRow(answer, module, "DEVSTAT",
         {{"NAME", "DISKD0001"},
          {"CONF_SIZE", 2048000},
          {"PAG", 757760},
          {"PAGESx", 37},
          {"PERM_USED", 737280},
          {"PERMx_USED", 36},
          {"TEMP_USED", 20480},
          {"TEMPx_USED", 1},
          {"UN_USED", 1290240},
          {"UNx_USED", 63}});
  return answer;
}

Bytes BuildImporting(const ImportingLayout& layout, const Json& value, const std::string& path) {
  if (layout.kind == ParamKind::kStructure) {
    return BuildStructureImage(*layout.structure, value, path);
  }
  Bytes bytes(layout.length, 0);
  WriteField(ScalarField(layout), value, bytes, path);
  return bytes;
}

// Merge patch of the importing parameters: null removes one, an object
// merges into a structure's fields, anything else replaces the value.
void MergeImporting(const ModuleLayout& module, const Json& patch, const std::string& path,
                    ModuleAnswer& answer) {
  if (patch.is_null()) return answer.importing.clear();
  RequireObject(patch, path);
  for (const auto& [name, value] : patch.items()) {
    const std::string param_path = ChildPath(path, name);
    const ImportingLayout* layout = FindByName(module.importing, name);
    if (!layout) throw SchemaError(param_path, "no importing parameter of that name");
    if (value.is_null()) {
      answer.importing.erase(name);
    } else if (layout->kind == ParamKind::kStructure && value.is_object()) {
      WriteStructureFields(*layout->structure, value, param_path, answer.importing[name]);
    } else {
      answer.importing[name] = BuildImporting(*layout, value, param_path);
    }
  }
}

// Merge patch of the tables: null removes a table, rows replace its rows.
void MergeTables(const ModuleLayout& module, const Json& patch, const std::string& path,
                 ModuleAnswer& answer) {
  if (patch.is_null()) return answer.tables.clear();
  RequireObject(patch, path);
  for (const auto& [name, rows] : patch.items()) {
    const std::string table_path = ChildPath(path, name);
    const TableLayout* layout = FindByName(module.tables, name);
    if (!layout) throw SchemaError(table_path, "no table of that name");
    if (rows.is_null()) {
      answer.tables.erase(name);
      continue;
    }
    RequireArray(rows, table_path);
    std::vector<Bytes> images;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      images.push_back(BuildStructureImage(*layout->row, rows[i], ChildPath(table_path, i)));
    }
    answer.tables[name] = std::move(images);
  }
}

}  // namespace

ModuleAnswer DefaultAnswer(const ModuleLayout& module, const SystemIdentity& system) {
  if (module.name == "GET_CPU_ALL") return CpuDefault(module);
  if (module.name == "RFC_SYSTEM_INFO") return SystemInfoDefault(module, system);
  if (module.name == "ADA_DB_FILLING") return FillingDefault(module);
  return {};
}

ModuleAnswer BuildModuleAnswer(const ModuleLayout& module, const SystemIdentity& system,
                               const Json& overlay, const std::string& path) {
  ModuleAnswer answer = DefaultAnswer(module, system);
  if (overlay.is_null()) return answer;
  RequireObject(overlay, path);
  RejectUnknownKeys(overlay, {"importing", "tables"}, path);
  if (overlay.contains("importing")) {
    MergeImporting(module, overlay.at("importing"), ChildPath(path, "importing"), answer);
  }
  if (overlay.contains("tables")) {
    MergeTables(module, overlay.at("tables"), ChildPath(path, "tables"), answer);
  }
  return answer;
}

}  // namespace rfcsim
