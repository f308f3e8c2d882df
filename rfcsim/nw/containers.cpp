#include "rfcsim/nw/containers.h"

#include <cstring>
#include <set>

#include "rfcsim/nw/utf16.h"

namespace rfcsim::nw {
namespace {

// The library is single-threaded, as the sensor is.
std::set<const Container*>& LiveContainers() {
  static std::set<const Container*> live;
  return live;
}

Slot MakeSlot(std::u16string name, RFCTYPE type, unsigned nuc_length, unsigned decimals,
              const TypeDescription* sub_type) {
  Slot slot;
  slot.name = std::move(name);
  slot.type = type;
  slot.length = nuc_length;
  slot.decimals = decimals;
  if (IsTextType(type)) slot.text.assign(nuc_length, u' ');
  if (type == RFCTYPE_BCD) slot.packed.assign(nuc_length, 0);
  if (type == RFCTYPE_STRUCTURE && sub_type) slot.structure = std::make_unique<Record>(*sub_type);
  if (type == RFCTYPE_TABLE && sub_type) slot.table = std::make_unique<Table>(*sub_type);
  return slot;
}

template <typename Integer>
std::int64_t ReadInteger(const unsigned char* bytes) {
  Integer value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

Container::Container() { LiveContainers().insert(this); }
Container::~Container() { LiveContainers().erase(this); }

Container* Container::FromHandle(DATA_CONTAINER_HANDLE handle) {
  auto* container = reinterpret_cast<Container*>(handle);
  return LiveContainers().contains(container) ? container : nullptr;
}

DATA_CONTAINER_HANDLE Container::Handle() { return reinterpret_cast<DATA_CONTAINER_HANDLE>(this); }

Record::Record(const TypeDescription& type) : type_(&type) {
  for (const RFC_FIELD_DESC& field : type.fields) {
    slots_.push_back(MakeSlot(NameOf(field.name), field.type, field.nucLength, field.decimals,
                              TypeFromHandle(field.typeDescHandle)));
  }
}

Record::Record(const FunctionDescription& function) : function_(&function) {
  for (std::size_t i = 0; i < function.parameters.size(); ++i) {
    const RFC_PARAMETER_DESC& param = function.parameters[i];
    slots_.push_back(MakeSlot(NameOf(param.name), param.type, param.nucLength, param.decimals,
                              function.types[i]));
  }
}

Slot* Record::Find(std::u16string_view name) {
  for (Slot& slot : slots_) {
    if (slot.name == name) return &slot;
  }
  return nullptr;
}

void Record::ReadClassic(const Bytes& image) {
  if (!type_) return;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const RFC_FIELD_DESC& field = type_->fields[i];
    if (field.nucOffset + field.nucLength > image.size()) continue;
    const unsigned char* bytes = image.data() + field.nucOffset;
    Slot& slot = slots_[i];
    switch (field.type) {
      case RFCTYPE_INT:
        slot.number = ReadInteger<std::int32_t>(bytes);
        break;
      case RFCTYPE_INT2:
        slot.number = ReadInteger<std::int16_t>(bytes);
        break;
      case RFCTYPE_INT1:
        slot.number = bytes[0];
        break;
      case RFCTYPE_BCD:
        slot.packed.assign(bytes, bytes + field.nucLength);
        break;
      default:
        if (IsTextType(field.type)) {
          slot.text = Latin1ToUtf16(
              std::string_view(reinterpret_cast<const char*>(bytes), field.nucLength));
        }
        break;
    }
  }
}

Record* Table::Current() { return current_ < rows_.size() ? rows_[current_].get() : nullptr; }

void Table::Clear() {
  rows_.clear();
  current_ = 0;
}

Record& Table::Append() {
  rows_.push_back(std::make_unique<Record>(row_type_));
  return *rows_.back();
}

bool Table::MoveTo(std::size_t index) {
  if (index >= rows_.size()) return false;
  current_ = index;
  return true;
}

std::u16string Fitted(std::u16string_view text, unsigned length) {
  std::u16string fitted(text.substr(0, length));
  fitted.resize(length, u' ');
  return fitted;
}

}  // namespace rfcsim::nw
