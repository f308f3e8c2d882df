// One internal table of the library, alive for one remote call.
#pragma once

#include <span>
#include <string>

#include "rfc/rfc_library.h"

namespace rfc {

// Created on construction and deleted by Delete(). The library's table
// operations have no error path the program could recover from: each failure
// is a LibraryAbort with the operation and the table's name
// ("ItCreate TF_CPU_ALL", "ItGetLine DEVSTAT", "ItDelete DEVSP_HIST").
//
// A LibraryAbort leaves the table to the end of the process, which it brings:
// the error report must read the library's last error before anything else
// is asked of the library, and a delete that failed in turn would put its
// own error in the place of the one reported.
class InternalTable {
 public:
  InternalTable(RfcLibrary& library, std::string name, unsigned row_length);
  InternalTable(const InternalTable&) = delete;
  InternalTable& operator=(const InternalTable&) = delete;

  ItabHandle handle() const { return handle_; }

  // The number of rows the library holds now.
  unsigned RowCount();

  // Row `number` (from 1), `row_length` bytes that stay valid until the next
  // operation on the table.
  std::span<const unsigned char> Row(unsigned number);

  // Deletes the table; called once, on every path that returns normally.
  void Delete();

 private:
  RfcLibrary& library_;
  std::string name_;
  unsigned row_length_;
  ItabHandle handle_;
};

}  // namespace rfc
