// The record: one JSON line per library operation, appended to the file
// that RFCSIM_RECORD names, so tests can check what the sensor passed. It
// holds passwords as given; it is a test facility only.
#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "rfc/rfc_api.h"
#include "rfcsim/internal_table.h"

namespace rfcsim {

using Json = nlohmann::json;

class Recorder {
 public:
  // An empty path records nothing.
  explicit Recorder(std::string path);
  bool enabled() const { return !path_.empty(); }
  void Write(const Json& line) const;

 private:
  std::string path_;
};

// Installed structures: type handle -> structure name.
using StructureNames = std::map<RfcTypeHandle, std::string>;

// The descriptions below turn the caller's records into JSON; a null
// pointer becomes null, and texts keep every byte (as ISO 8859-1).
Json RecordText(const char* text);
Json DescribeOptions(const OpenOptions* options);
Json DescribeElements(const RfcTypeElement* elements, unsigned count);
// Exporting lists carry values (integers for the integer type codes, text
// otherwise); importing lists are outputs and are described without.
Json DescribeParameters(const RfcParameter* parameters, bool with_values,
                        const StructureNames& structures);
Json DescribeTables(const RfcTable* tables, const TableRegistry& registry,
                    const StructureNames& structures);
// The serial number of a live table, or null.
Json TableSerial(const TableRegistry& registry, const void* handle);

}  // namespace rfcsim
