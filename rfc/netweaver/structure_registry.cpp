#include "rfc/netweaver/structure_registry.h"

namespace rfc::nw {
namespace {

unsigned Alignment(const RfcTypeElement& element) {
  if (element.type == kRfcTypeInt) return 4;
  if (element.type == kRfcTypeInt2) return 2;
  return 1;
}

}  // namespace

RfcTypeHandle StructureRegistry::Install(const char* name, const RfcTypeElement* elements,
                                         unsigned count) {
  StructureDescription description;
  description.name = name != nullptr ? name : "";
  unsigned offset = 0;
  for (unsigned i = 0; i < count; ++i) {
    const RfcTypeElement& element = elements[i];
    const unsigned alignment = Alignment(element);
    offset = (offset + alignment - 1) / alignment * alignment;
    description.elements.push_back(
        {element.name != nullptr ? element.name : "", element.type, element.length, offset});
    offset += element.length;
  }
  description.length = offset;
  const RfcTypeHandle handle = next_++;
  descriptions_.emplace(handle, std::move(description));
  return handle;
}

const StructureDescription* StructureRegistry::Find(RfcTypeHandle handle) const {
  const auto it = descriptions_.find(handle);
  return it == descriptions_.end() ? nullptr : &it->second;
}

}  // namespace rfc::nw
