#include "rfcsim/faults.h"

#include <algorithm>
#include <vector>

namespace rfcsim {
namespace {

bool NameMatches(const std::string& verb, const std::string& subject, const Operation& operation) {
  return verb == operation.verb && (subject.empty() || subject == operation.subject);
}

bool Matches(const Fault& fault, const Operation& operation) {
  return NameMatches(fault.verb, fault.subject, operation) &&
         (!fault.row || fault.row == operation.row);
}

bool Matches(const Delay& delay, const Operation& operation) {
  return NameMatches(delay.verb, delay.subject, operation);
}

template <typename Entry>
const Entry* FirstMatch(const std::vector<Entry>& entries, const Operation& operation) {
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& entry) { return Matches(entry, operation); });
  return it == entries.end() ? nullptr : &*it;
}

template <typename Entry>
const Entry* FirstMatch(const std::vector<Entry>* own, const std::vector<Entry>& landscape_wide,
                        const Operation& operation) {
  if (own) {
    if (const Entry* entry = FirstMatch(*own, operation)) return entry;
  }
  return FirstMatch(landscape_wide, operation);
}

}  // namespace

std::string Operation::Text() const {
  return subject.empty() ? std::string(verb) : platform::Joined(verb, " ", subject);
}

const Fault* FindFault(const Landscape& landscape, const SystemModel* system,
                       const Operation& operation) {
  return FirstMatch(system ? &system->faults : nullptr, landscape.faults, operation);
}

const Delay* FindDelay(const Landscape& landscape, const SystemModel* system,
                       const Operation& operation) {
  return FirstMatch(system ? &system->delays : nullptr, landscape.delays, operation);
}

}  // namespace rfcsim
