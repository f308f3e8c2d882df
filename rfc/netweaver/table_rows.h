// Table rows as the classic library delivered them, rebuilt from a
// NetWeaver table: each field at its non-Unicode offset and length.
#pragma once

#include <vector>

#include "rfc/netweaver/field_reading.h"
#include "rfc/netweaver/internal_tables.h"

namespace rfc::nw {

// One row of `row_length` bytes from the fields of `row`: texts (CHAR,
// DATE, TIME, NUM) converted to single bytes, integers of 1, 2 and 4 bytes,
// packed decimals re-packed; zero bytes wherever no field lies, and for
// fields of other types. A text reaching past the row is cut there; a
// number that does not fit whole is left out.
ReadFailure RebuildRow(const EntryPoints& api, ::nw::RFC_STRUCTURE_HANDLE row,
                       const std::vector<::nw::RFC_FIELD_DESC>& fields, unsigned row_length,
                       std::vector<unsigned char>& bytes);

// Replaces the rows of `target` by the rows of `table`.
ReadFailure FillTable(const EntryPoints& api, ::nw::RFC_TABLE_HANDLE table,
                      InternalTableRows& target);

}  // namespace rfc::nw
