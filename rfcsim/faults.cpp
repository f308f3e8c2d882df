#include "rfcsim/faults.h"

#include <algorithm>
#include <vector>

namespace rfcsim {
namespace {

bool Matches(const Fault& fault, const Operation& operation) {
  return fault.verb == operation.verb &&
         (fault.subject.empty() || fault.subject == operation.subject) &&
         (!fault.row || fault.row == operation.row);
}

const Fault* FirstMatch(const std::vector<Fault>& faults, const Operation& operation) {
  const auto it = std::find_if(faults.begin(), faults.end(),
                               [&](const Fault& fault) { return Matches(fault, operation); });
  return it == faults.end() ? nullptr : &*it;
}

}  // namespace

std::string Operation::Text() const {
  return subject.empty() ? std::string(verb) : platform::Joined(verb, " ", subject);
}

const Fault* FindFault(const Landscape& landscape, const SystemModel* system,
                       const Operation& operation) {
  if (system) {
    if (const Fault* fault = FirstMatch(system->faults, operation)) return fault;
  }
  return FirstMatch(landscape.faults, operation);
}

}  // namespace rfcsim
