// The function modules rfcsim knows: their importing parameters and the
// row layouts of their tables, exactly as the receiving side reads them.
#pragma once

#include <span>
#include <string_view>

namespace rfcsim {

enum class FieldKind {
  kChar,    // text, blank-padded
  kInt16,   // native byte order
  kInt32,   // native byte order
  kPacked,  // packed decimal, 2n - 1 digits and a sign nibble
};

struct FieldLayout {
  std::string_view name;
  FieldKind kind;
  unsigned offset;
  unsigned length;
};

struct StructureLayout {
  std::string_view name;
  unsigned length;
  std::span<const FieldLayout> fields;
};

enum class ParamKind {
  kInt32,      // caller's type code must be the 4-byte integer
  kChar,       // caller's type code must be a character-like code
  kStructure,  // caller's type must be an installed structure's type handle
};

struct ImportingLayout {
  std::string_view name;
  ParamKind kind;
  unsigned length;
  const StructureLayout* structure;  // kStructure only
};

struct TableLayout {
  std::string_view name;
  const StructureLayout* row;
};

struct ModuleLayout {
  std::string_view name;
  std::span<const ImportingLayout> importing;
  std::span<const TableLayout> tables;
};

std::span<const ModuleLayout> KnownModules();
// Null for a module rfcsim does not know.
const ModuleLayout* FindModule(std::string_view name);

}  // namespace rfcsim
