// The record: one JSON line per library operation, appended to the file
// that RFCSIM_RECORD names, so tests can check what the sensor passed. It
// holds passwords as given; it is a test facility only.
#pragma once

#include <map>
#include <string>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

#include "rfcsim/internal_table.h"
#include "rfcsim/sap_rfc.h"

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

// One record line under construction. When records are off it stays empty
// and ignores what it is given: describing every operation costs more than
// the operation itself. Parts are values, or callables that make them and
// are called only when recording.
class RecordLine {
 public:
  template <typename Describe>
  RecordLine(const Recorder& recorder, Describe describe)
      : enabled_(recorder.enabled()), line_(enabled_ ? Json(describe()) : Json()) {}

  template <typename Value>
  void Set(const char* key, Value&& value) {
    if (!enabled_) return;
    if constexpr (std::is_invocable_v<Value>) {
      line_[key] = value();
    } else {
      line_[key] = std::forward<Value>(value);
    }
  }
  const Json& line() const { return line_; }
  void Clear() { line_ = nullptr; }

 private:
  bool enabled_;
  Json line_;
};

// Installed structures: type handle -> structure name.
using StructureNames = std::map<RFC_TYPEHANDLE, std::string>;

// The descriptions below turn the caller's records into JSON; a null
// pointer becomes null, and texts keep every byte (as ISO 8859-1). The keys
// are the record's own names for SAP's fields (docs/landscape.md).
Json RecordText(const char* text);
Json DescribeOptions(const RFC_OPTIONS* options);
Json DescribeElements(const RFC_TYPE_ELEMENT* elements, unsigned count);
// Exporting lists carry values (integers for the integer type codes, text
// otherwise); importing lists are outputs and are described without.
Json DescribeParameters(const RFC_PARAMETER* parameters, bool with_values,
                        const StructureNames& structures);
Json DescribeTables(const RFC_TABLE* tables, const TableRegistry& registry,
                    const StructureNames& structures);
// The serial number of a live table, or null.
Json TableSerial(const TableRegistry& registry, const void* handle);

}  // namespace rfcsim
