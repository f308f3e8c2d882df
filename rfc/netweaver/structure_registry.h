// Structure descriptions installed with RfcInstallStructure: the element
// list under a type handle, with the offsets the classic library gave the
// elements.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "rfc/rfc_api.h"

namespace rfc::nw {

struct StructureElement {
  std::string name;
  unsigned type;
  unsigned length;
  unsigned offset;
};

struct StructureDescription {
  std::string name;
  std::vector<StructureElement> elements;
  unsigned length = 0;  // up to the end of the last element
};

class StructureRegistry {
 public:
  // Type handles count up from 101, so that none looks like a type code
  // (0-10); every installation gets a new one. Offsets follow from the
  // lengths in order, each integer (types 8 and 9) aligned on its own size
  // as the classic library lays rows out.
  RfcTypeHandle Install(const char* name, const RfcTypeElement* elements, unsigned count);
  // The description of a handle; null for a type code or unknown handle.
  const StructureDescription* Find(RfcTypeHandle handle) const;

 private:
  static constexpr RfcTypeHandle kFirstHandle = 101;
  RfcTypeHandle next_ = kFirstHandle;
  std::map<RfcTypeHandle, StructureDescription> descriptions_;
};

}  // namespace rfc::nw
