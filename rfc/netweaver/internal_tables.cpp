#include "rfc/netweaver/internal_tables.h"

#include <algorithm>

namespace rfc::nw {

void InternalTableRows::Append(const std::vector<unsigned char>& bytes) {
  auto row = std::make_unique<unsigned char[]>(row_length);  // zero-filled
  std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), row_length), row.get());
  rows.push_back(std::move(row));
}

void* InternalTables::Create(const char* name, unsigned row_length) {
  if (row_length == 0 || row_length > kMaximumRowLength) return nullptr;
  auto table = std::make_unique<InternalTableRows>();
  table->name = name != nullptr ? name : "";
  table->row_length = row_length;
  void* handle = table.get();
  tables_.emplace(handle, std::move(table));
  return handle;
}

InternalTableRows* InternalTables::Find(const void* handle) {
  const auto it = tables_.find(handle);
  return it == tables_.end() ? nullptr : it->second.get();
}

bool InternalTables::Delete(const void* handle) { return tables_.erase(handle) == 1; }

}  // namespace rfc::nw
