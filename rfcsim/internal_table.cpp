#include "rfcsim/internal_table.h"

#include <algorithm>

namespace rfcsim {

InternalTable::InternalTable(std::string name, unsigned row_length, unsigned serial)
    : name_(std::move(name)), row_length_(row_length), serial_(serial) {}

unsigned char* InternalTable::Row(unsigned number) {
  if (number == 0 || number > row_count_) return nullptr;
  return bytes_.data() + static_cast<std::size_t>(number - 1) * row_length_;
}

void InternalTable::Clear() {
  bytes_.clear();
  row_count_ = 0;
}

void InternalTable::Append(std::span<const unsigned char> image) {
  const std::size_t start = bytes_.size();
  bytes_.resize(start + row_length_, 0);
  std::copy_n(image.begin(), std::min<std::size_t>(image.size(), row_length_),
              bytes_.begin() + static_cast<std::ptrdiff_t>(start));
  ++row_count_;
}

InternalTable& TableRegistry::Create(std::string name, unsigned row_length) {
  auto table = std::make_unique<InternalTable>(std::move(name), row_length, next_serial_++);
  InternalTable& created = *table;
  tables_.emplace(&created, std::move(table));
  return created;
}

InternalTable* TableRegistry::Find(const void* handle) const {
  const auto it = tables_.find(handle);
  return it == tables_.end() ? nullptr : it->second.get();
}

bool TableRegistry::Delete(const void* handle) { return tables_.erase(handle) > 0; }

}  // namespace rfcsim
