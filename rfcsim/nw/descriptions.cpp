#include "rfcsim/nw/descriptions.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>

namespace rfcsim::nw {
namespace {

// What the modules take from the caller (the classic caller's exporting
// list). rfcsim's engine reads none of it; the sensor sends these.
struct ImportParameter {
  std::string_view module;
  std::string_view name;
  unsigned length;  // characters
};
constexpr std::array kImports{
    ImportParameter{"GET_CPU_ALL", "LOCAL_REMOTE", 6},
    ImportParameter{"GET_CPU_ALL", "LOGICAL_DESTINATION", 32},
};

// Text fields of a type other than CHAR, by structure and field name.
struct TextType {
  std::string_view structure;
  std::string_view field;
  RFCTYPE type;
};
constexpr std::array kTextTypes{
    TextType{"ADA_DBHIST", "DATUM", RFCTYPE_DATE},
    TextType{"ADA_DBHIST", "ZEIT", RFCTYPE_TIME},
};

void SetName(RFC_ABAP_NAME& target, std::string_view name) {
  std::fill(std::begin(target), std::end(target), u'\0');
  const std::size_t count = std::min(name.size(), std::size(target) - 1);
  for (std::size_t i = 0; i < count; ++i) target[i] = static_cast<unsigned char>(name[i]);
}

RFCTYPE FieldType(const StructureLayout& structure, const FieldLayout& field) {
  switch (field.kind) {
    case FieldKind::kInt16:
      return RFCTYPE_INT2;
    case FieldKind::kInt32:
      return RFCTYPE_INT;
    case FieldKind::kPacked:
      return RFCTYPE_BCD;
    case FieldKind::kChar:
      break;
  }
  for (const TextType& text : kTextTypes) {
    if (text.structure == structure.name && text.field == field.name) return text.type;
  }
  return RFCTYPE_CHAR;
}

unsigned AlignUp(unsigned offset, unsigned alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

// Alignment and length in a Unicode system: characters take two bytes and
// align to 2, integers to their size, packed numbers to 1.
unsigned UnicodeAlignment(RFCTYPE type) {
  switch (type) {
    case RFCTYPE_INT:
      return 4;
    case RFCTYPE_BCD:
    case RFCTYPE_INT1:
      return 1;
    default:
      return 2;
  }
}

TypeDescription Describe(const StructureLayout& layout) {
  TypeDescription type;
  type.name = std::string(layout.name);
  type.nuc_length = layout.length;
  type.layout = &layout;
  unsigned uc_offset = 0;
  unsigned widest = 1;
  for (const FieldLayout& field : layout.fields) {
    RFC_FIELD_DESC desc{};
    SetName(desc.name, field.name);
    desc.type = FieldType(layout, field);
    desc.nucOffset = field.offset;
    desc.nucLength = field.length;
    const unsigned alignment = UnicodeAlignment(desc.type);
    widest = std::max(widest, alignment);
    uc_offset = AlignUp(uc_offset, alignment);
    desc.ucOffset = uc_offset;
    desc.ucLength = IsTextType(desc.type) ? 2 * field.length : field.length;
    uc_offset += desc.ucLength;
    type.fields.push_back(desc);
  }
  type.uc_length = AlignUp(uc_offset, widest);
  return type;
}

RFC_PARAMETER_DESC Parameter(std::string_view name, RFCTYPE type, RFC_DIRECTION direction,
                             unsigned nuc_length, unsigned uc_length) {
  RFC_PARAMETER_DESC desc{};
  SetName(desc.name, name);
  desc.type = type;
  desc.direction = direction;
  desc.nucLength = nuc_length;
  desc.ucLength = uc_length;
  return desc;
}

class Catalogue {
 public:
  Catalogue() {
    for (const ModuleLayout& module : KnownModules()) {
      FunctionDescription function;
      function.name = std::string(module.name);
      function.module = &module;
      for (const ImportParameter& import : kImports) {
        if (import.module != module.name) continue;
        Add(function,
            Parameter(import.name, RFCTYPE_CHAR, RFC_IMPORT, import.length, 2 * import.length),
            nullptr);
      }
      for (const ImportingLayout& param : module.importing) {
        switch (param.kind) {
          case ParamKind::kInt32:
            Add(function, Parameter(param.name, RFCTYPE_INT, RFC_EXPORT, 4, 4), nullptr);
            break;
          case ParamKind::kChar:
            Add(function,
                Parameter(param.name, RFCTYPE_CHAR, RFC_EXPORT, param.length, 2 * param.length),
                nullptr);
            break;
          case ParamKind::kStructure: {
            const TypeDescription& type = TypeOf(*param.structure);
            Add(function,
                Parameter(param.name, RFCTYPE_STRUCTURE, RFC_EXPORT, type.nuc_length,
                          type.uc_length),
                &type);
            break;
          }
        }
      }
      for (const TableLayout& table : module.tables) {
        const TypeDescription& type = TypeOf(*table.row);
        Add(function,
            Parameter(table.name, RFCTYPE_TABLE, RFC_TABLES, type.nuc_length, type.uc_length),
            &type);
      }
      functions_.push_back(std::make_unique<FunctionDescription>(std::move(function)));
    }
  }

  const FunctionDescription* Find(std::string_view name) const {
    for (const auto& function : functions_) {
      if (function->name == name) return function.get();
    }
    return nullptr;
  }

  bool Holds(const FunctionDescription* function) const {
    return std::any_of(functions_.begin(), functions_.end(),
                       [&](const auto& known) { return known.get() == function; });
  }

  bool Holds(const TypeDescription* type) const {
    return std::any_of(types_.begin(), types_.end(),
                       [&](const auto& known) { return known.second.get() == type; });
  }

 private:
  const TypeDescription& TypeOf(const StructureLayout& layout) {
    auto& type = types_[&layout];
    if (!type) type = std::make_unique<TypeDescription>(Describe(layout));
    return *type;
  }

  static void Add(FunctionDescription& function, RFC_PARAMETER_DESC desc,
                  const TypeDescription* type) {
    desc.typeDescHandle = type ? HandleOf(*type) : nullptr;
    function.parameters.push_back(desc);
    function.types.push_back(type);
  }

  std::map<const StructureLayout*, std::unique_ptr<TypeDescription>> types_;
  std::vector<std::unique_ptr<FunctionDescription>> functions_;
};

const Catalogue& TheCatalogue() {
  static const Catalogue catalogue;
  return catalogue;
}

}  // namespace

bool IsTextType(RFCTYPE type) {
  return type == RFCTYPE_CHAR || type == RFCTYPE_DATE || type == RFCTYPE_TIME ||
         type == RFCTYPE_NUM;
}

const FunctionDescription* FindFunctionDescription(std::string_view name) {
  return TheCatalogue().Find(name);
}

const FunctionDescription* FunctionFromHandle(RFC_FUNCTION_DESC_HANDLE handle) {
  const auto* function = reinterpret_cast<const FunctionDescription*>(handle);
  return TheCatalogue().Holds(function) ? function : nullptr;
}

const TypeDescription* TypeFromHandle(RFC_TYPE_DESC_HANDLE handle) {
  const auto* type = reinterpret_cast<const TypeDescription*>(handle);
  return TheCatalogue().Holds(type) ? type : nullptr;
}

// The handles are the descriptions' addresses; the caller never follows
// them, and they are looked up before use.
RFC_FUNCTION_DESC_HANDLE HandleOf(const FunctionDescription& function) {
  return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(const_cast<FunctionDescription*>(&function));
}

RFC_TYPE_DESC_HANDLE HandleOf(const TypeDescription& type) {
  return reinterpret_cast<RFC_TYPE_DESC_HANDLE>(const_cast<TypeDescription*>(&type));
}

std::u16string NameOf(const RFC_ABAP_NAME& name) {
  std::u16string text;
  for (const char16_t unit : name) {
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace rfcsim::nw
