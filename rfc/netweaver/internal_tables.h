// The adapter's own internal tables (ItCreate, ItFill, ItGetLine,
// ItDelete): rows of fixed length held in memory. A table's handle is the
// address of its object; handles are only looked up, never dereferenced
// unchecked, so a deleted or foreign handle is found missing, not followed.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rfc::nw {

struct InternalTableRows {
  std::string name;
  unsigned row_length = 0;
  // Each row exactly row_length bytes; a row's address stays valid until
  // the table is emptied or deleted.
  std::vector<std::unique_ptr<unsigned char[]>> rows;

  // Appends a row: `bytes` cut or zero-filled to row_length.
  void Append(const std::vector<unsigned char>& bytes);
};

class InternalTables {
 public:
  // Row lengths from 1 to 65535, as the classic library allows.
  static constexpr unsigned kMaximumRowLength = 65535;

  // A new empty table; null for a row length outside 1 to 65535.
  void* Create(const char* name, unsigned row_length);
  // The table of a handle; null for anything else.
  InternalTableRows* Find(const void* handle);
  // False for a handle that is no table.
  bool Delete(const void* handle);

 private:
  std::map<const void*, std::unique_ptr<InternalTableRows>> tables_;
};

}  // namespace rfc::nw
