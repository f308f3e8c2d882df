// The C functions that count and walk a table's rows.
#include "rfcsim/nw/containers.h"
#include "rfcsim/nw/guarded.h"

namespace rfcsim::nw {
namespace {

Table* TableOf(RFC_TABLE_HANDLE handle, RFC_ERROR_INFO* error) {
  auto* table = dynamic_cast<Table*>(Container::FromHandle(handle));
  if (!table) {
    SetError(error, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
             "not a table handle");
  }
  return table;
}

}  // namespace

extern "C" {

RFC_RC RFCSIM_NW_API RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                    RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const Table* table = TableOf(tableHandle, errorInfo);
    if (!table) return RFC_INVALID_HANDLE;
    if (rowCount) *rowCount = static_cast<unsigned>(table->row_count());
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index,
                               RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    Table* table = TableOf(tableHandle, errorInfo);
    if (!table) return RFC_INVALID_HANDLE;
    if (!table->MoveTo(index)) {
      return SetError(errorInfo, RFC_TABLE_MOVE_EOF, EXTERNAL_RUNTIME_FAILURE, "RFC_TABLE_MOVE_EOF",
                      "row " + std::to_string(index) + " does not exist");
    }
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_STRUCTURE_HANDLE RFCSIM_NW_API RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle,
                                                    RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_STRUCTURE_HANDLE{}, errorInfo, [&]() -> RFC_STRUCTURE_HANDLE {
    Table* table = TableOf(tableHandle, errorInfo);
    if (!table) return nullptr;
    Record* row = table->Current();
    if (!row) {
      SetError(errorInfo, RFC_TABLE_MOVE_EOF, EXTERNAL_RUNTIME_FAILURE, "RFC_TABLE_MOVE_EOF",
               "the table has no current row");
      return nullptr;
    }
    ClearError(errorInfo);
    return row->Handle();
  });
}

}  // extern "C"

}  // namespace rfcsim::nw
