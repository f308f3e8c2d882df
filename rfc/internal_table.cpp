#include "rfc/internal_table.h"

#include <utility>

#include "rfc/remote_call.h"

namespace rfc {

InternalTable::InternalTable(RfcLibrary& library, std::string name, unsigned row_length)
    : library_(library),
      name_(std::move(name)),
      row_length_(row_length),
      handle_(library.ItCreate(name_.c_str(), row_length)) {
  if (handle_ == nullptr) {
    throw LibraryAbort("ItCreate " + name_);
  }
}

unsigned InternalTable::RowCount() { return library_.ItFill(handle_); }

std::span<const unsigned char> InternalTable::Row(unsigned number) {
  const void* row = library_.ItGetLine(handle_, number);
  if (row == nullptr) {
    throw LibraryAbort("ItGetLine " + name_);
  }
  return {static_cast<const unsigned char*>(row), row_length_};
}

void InternalTable::Delete() {
  // Given up before the call: a failed delete is an abort, never retried.
  ItabHandle table = std::exchange(handle_, nullptr);
  if (library_.ItDelete(table) != 0) {
    throw LibraryAbort("ItDelete " + name_);
  }
}

}  // namespace rfc
