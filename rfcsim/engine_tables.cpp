// Structure descriptions and internal tables. They belong to no connection:
// faults for them are looked up on the system of the most recent logon.
#include "rfcsim/engine.h"
#include "rfcsim/rfc_errors.h"

namespace rfcsim {
namespace {
// Far above any row the sensor asks for; keeps a wild length from
// exhausting memory.
constexpr unsigned kMaxRowLength = 65535;
}  // namespace

int Engine::InstallStructure(const char* name, const RFC_TYPE_ELEMENT* elements,
                             unsigned element_count, RFC_TYPEHANDLE* type_handle) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "RfcInstallStructure"},
                {"name", RecordText(name)},
                {"element_count", element_count},
                {"elements", DescribeElements(elements, element_count)}};
  });
  const std::string structure(TextOrEmpty(name));
  const Operation operation{"RfcInstallStructure", structure};
  int result = 0;
  if (const Fault* fault = Tripped(current_system_, operation, record)) {
    result = fault->result;
  } else if (!name || !type_handle || (element_count > 0 && !elements)) {
    Fail(operation, ProgramError("incomplete structure description"));
    result = 1;
  } else {
    const RFC_TYPEHANDLE handle = next_type_handle_++;
    structures_[handle] = structure;
    *type_handle = handle;
    record.Set("type_handle", handle);
  }
  record.Set("result", result);
  Finish(std::move(record));
  return result;
}

ITAB_H Engine::CreateTable(const char* name, unsigned row_length, unsigned occurs,
                           unsigned memory) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "ItCreate"},
                {"name", RecordText(name)},
                {"row_length", row_length},
                {"occurs", occurs},
                {"memory", memory}};
  });
  const std::string table_name(TextOrEmpty(name));
  const Operation operation{"ItCreate", table_name};
  InternalTable* table = nullptr;
  if (Tripped(current_system_, operation, record)) {
    // failed as configured
  } else if (row_length == 0 || row_length > kMaxRowLength) {
    Fail(operation, ProgramError("row length " + std::to_string(row_length) + " of table '" +
                                 table_name + "' is out of range"));
  } else {
    table = &tables_.Create(table_name, row_length);
  }
  record.Set("table", [&] { return table ? Json(table->serial()) : Json(nullptr); });
  Finish(std::move(record));
  return table;
}

unsigned Engine::TableFill(ITAB_H handle) {
  const InternalTable* table = tables_.Find(handle);
  if (!table) Fail({"ItFill", ""}, ProgramError("invalid table handle"));
  const unsigned rows = table ? table->row_count() : 0;
  Finish(StartRecord([&] {
    return Json{{"op", "ItFill"},
                {"table", TableSerial(tables_, handle)},
                {"name", table ? RecordText(table->name().c_str()) : Json(nullptr)},
                {"result", rows}};
  }));
  return rows;
}

void* Engine::TableLine(ITAB_H handle, unsigned row) {
  InternalTable* table = tables_.Find(handle);
  const std::string name = table ? table->name() : "";
  RecordLine record = StartRecord([&] {
    return Json{{"op", "ItGetLine"},
                {"table", TableSerial(tables_, handle)},
                {"name", table ? RecordText(name.c_str()) : Json(nullptr)},
                {"row", row}};
  });
  const Operation operation{"ItGetLine", name, row};
  void* line = nullptr;
  if (!table) {
    Fail(operation, ProgramError("invalid table handle"));
  } else if (Tripped(current_system_, operation, record)) {
    // failed as configured
  } else if (line = table->Row(row); !line) {
    Fail(operation,
         ProgramError("row " + std::to_string(row) + " of table '" + name + "' does not exist"));
  }
  record.Set("found", line != nullptr);
  Finish(std::move(record));
  return line;
}

int Engine::DeleteTable(ITAB_H handle) {
  const InternalTable* table = tables_.Find(handle);
  const std::string name = table ? table->name() : "";
  RecordLine record = StartRecord([&] {
    return Json{{"op", "ItDelete"},
                {"table", TableSerial(tables_, handle)},
                {"name", table ? RecordText(name.c_str()) : Json(nullptr)}};
  });
  const Operation operation{"ItDelete", name};
  int result = 0;
  if (!table) {
    Fail(operation, ProgramError("invalid table handle"));
    result = 1;
  } else if (const Fault* fault = Tripped(current_system_, operation, record)) {
    result = fault->result;  // the table stays
  } else {
    tables_.Delete(handle);
  }
  record.Set("result", result);
  Finish(std::move(record));
  return result;
}

}  // namespace rfcsim
