#include "rfcsim/answer_delivery.h"

#include <algorithm>
#include <cstring>

namespace rfcsim {
namespace {

bool TypeFits(ParamKind kind, unsigned type, const StructureNames& structures) {
  switch (kind) {
    case ParamKind::kInt32:
      return type == RFCTYPE_INT;
    case ParamKind::kChar:
      return type == RFCTYPE_CHAR || type == RFCTYPE_DATE || type == RFCTYPE_TIME ||
             type == RFCTYPE_NUM;
    case ParamKind::kStructure:
      return structures.contains(type);
  }
  return false;
}

void DeliverImporting(const ModuleLayout& module, const ModuleAnswer& answer,
                      RFC_PARAMETER* importing, const StructureNames& structures) {
  for (RFC_PARAMETER* p = importing; p && p->name; ++p) {
    const auto layout =
        std::find_if(module.importing.begin(), module.importing.end(),
                     [&](const ImportingLayout& candidate) { return candidate.name == p->name; });
    const auto value = answer.importing.find(std::string_view(p->name));
    if (layout == module.importing.end() || value == answer.importing.end()) continue;
    if (!p->addr || p->leng != layout->length) continue;
    if (!TypeFits(layout->kind, p->type, structures)) continue;
    std::memcpy(p->addr, value->second.data(), layout->length);
  }
}

void DeliverTables(const ModuleAnswer& answer, RFC_TABLE* tables, TableRegistry& registry) {
  for (RFC_TABLE* t = tables; t && t->name; ++t) {
    const auto rows = answer.tables.find(std::string_view(t->name));
    InternalTable* table = registry.Find(t->ithandle);
    if (rows == answer.tables.end() || !table) continue;
    table->Clear();
    for (const Bytes& row : rows->second) table->Append(row);
  }
}

}  // namespace

void DeliverAnswer(const ModuleLayout& module, const ModuleAnswer& answer, RFC_PARAMETER* importing,
                   RFC_TABLE* tables, TableRegistry& registry, const StructureNames& structures) {
  DeliverImporting(module, answer, importing, structures);
  DeliverTables(answer, tables, registry);
}

}  // namespace rfcsim
