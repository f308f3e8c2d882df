// The library's internal tables: rows of a fixed length, created and
// deleted by the caller, filled by a function module's answer.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace rfcsim {

class InternalTable {
 public:
  InternalTable(std::string name, unsigned row_length, unsigned serial);

  const std::string& name() const { return name_; }
  unsigned row_length() const { return row_length_; }
  // Counts tables in creation order; the record names tables by it, since
  // addresses differ from run to run.
  unsigned serial() const { return serial_; }
  unsigned row_count() const { return row_count_; }

  // Row `number`, counted from 1; null when there is no such row. Valid until
  // the table changes.
  unsigned char* Row(unsigned number);

  void Clear();
  // A zero-filled row with `image` copied in, cut to the row length.
  void Append(std::span<const unsigned char> image);

 private:
  std::string name_;
  unsigned row_length_;
  unsigned serial_;
  unsigned row_count_ = 0;
  std::vector<unsigned char> bytes_;
};

// The live tables. A table handle is the table's address; it is only ever
// looked up, never followed, so a stale or foreign handle is harmless.
class TableRegistry {
 public:
  InternalTable& Create(std::string name, unsigned row_length);
  // Null unless `handle` is a live table.
  InternalTable* Find(const void* handle) const;
  // False when `handle` is not a live table.
  bool Delete(const void* handle);

 private:
  std::map<const void*, std::unique_ptr<InternalTable>> tables_;
  unsigned next_serial_ = 1;
};

}  // namespace rfcsim
