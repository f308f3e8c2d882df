// Typed reading of the landscape document. Every mismatch throws
// SchemaError whose text starts with the JSON pointer of the bad value, so
// the one line a broken landscape produces says where to look.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "rfcsim/text.h"

namespace rfcsim {

using Json = nlohmann::json;

class SchemaError : public std::runtime_error {
 public:
  SchemaError(const std::string& path, const std::string& problem);
};

std::string ChildPath(const std::string& path, std::string_view key);
std::string ChildPath(const std::string& path, std::size_t index);

void RequireObject(const Json& value, const std::string& path);
void RequireArray(const Json& value, const std::string& path);
// Keys not in `known` are taken for typing mistakes and rejected.
void RejectUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                       const std::string& path);

// A JSON string, converted to single-byte text.
std::string TextAt(const Json& value, const std::string& path);
std::int64_t IntegerAt(const Json& value, std::int64_t min, std::int64_t max,
                       const std::string& path);
// Any JSON number, fractions allowed.
double NumberAt(const Json& value, double min, double max, const std::string& path);
// A string of hexadecimal digit pairs.
Bytes HexAt(const Json& value, const std::string& path);
// {"hex": "..."}: raw bytes where text would normally stand.
bool IsHexObject(const Json& value);
Bytes HexObjectAt(const Json& value, const std::string& path);

// Members that may be missing (or null, which counts as missing).
std::optional<std::string> OptionalText(const Json& object, std::string_view key,
                                        const std::string& path);
std::optional<std::int64_t> OptionalInteger(const Json& object, std::string_view key,
                                            std::int64_t min, std::int64_t max,
                                            const std::string& path);
bool OptionalFlag(const Json& object, std::string_view key, const std::string& path);

}  // namespace rfcsim
