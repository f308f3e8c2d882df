#include "rfcsim/json_fields.h"

#include <cstdio>

namespace rfcsim {

SchemaError::SchemaError(const std::string& path, const std::string& problem)
    : std::runtime_error((path.empty() ? std::string("/") : path) + ": " + problem) {}

std::string ChildPath(const std::string& path, std::string_view key) {
  // JSON pointer escaping: "~" and "/" inside a key.
  std::string escaped;
  for (char c : key) {
    if (c == '~') {
      escaped += "~0";
    } else if (c == '/') {
      escaped += "~1";
    } else {
      escaped += c;
    }
  }
  return path + "/" + escaped;
}

std::string ChildPath(const std::string& path, std::size_t index) {
  return path + "/" + std::to_string(index);
}

void RequireObject(const Json& value, const std::string& path) {
  if (!value.is_object()) throw SchemaError(path, "expected an object");
}

void RequireArray(const Json& value, const std::string& path) {
  if (!value.is_array()) throw SchemaError(path, "expected an array");
}

void RejectUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                       const std::string& path) {
  for (const auto& [key, value] : object.items()) {
    bool found = false;
    for (std::string_view name : known) found = found || key == name;
    if (!found) throw SchemaError(ChildPath(path, key), "unknown key");
  }
}

std::string TextAt(const Json& value, const std::string& path) {
  if (!value.is_string()) throw SchemaError(path, "expected a text");
  auto bytes = Utf8ToLatin1(value.get_ref<const std::string&>());
  if (!bytes) throw SchemaError(path, "text has a character beyond U+00FF");
  return *bytes;
}

std::int64_t IntegerAt(const Json& value, std::int64_t min, std::int64_t max,
                       const std::string& path) {
  const std::string range =
      "expected an integer from " + std::to_string(min) + " to " + std::to_string(max);
  if (value.is_number_unsigned()) {
    const auto number = value.get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(max)) throw SchemaError(path, range);
    return static_cast<std::int64_t>(number);
  }
  if (!value.is_number_integer()) throw SchemaError(path, range);
  const auto number = value.get<std::int64_t>();
  if (number < min || number > max) throw SchemaError(path, range);
  return number;
}

double NumberAt(const Json& value, double min, double max, const std::string& path) {
  if (!value.is_number() || !(value.get<double>() >= min && value.get<double>() <= max)) {
    // Bounds as %g writes them (86400, 0.5). Not a string stream: it would
    // bring the C++ library's locale machinery into the stand-in DLLs, which
    // every poll of the Wine benchmarks loads.
    char range[96];
    std::snprintf(range, sizeof range, "expected a number from %g to %g", min, max);
    throw SchemaError(path, range);
  }
  return value.get<double>();
}

Bytes HexAt(const Json& value, const std::string& path) {
  if (!value.is_string()) throw SchemaError(path, "expected hexadecimal digits");
  auto bytes = ParseHex(value.get_ref<const std::string&>());
  if (!bytes) throw SchemaError(path, "expected pairs of hexadecimal digits");
  return *bytes;
}

bool IsHexObject(const Json& value) { return value.is_object() && value.contains("hex"); }

Bytes HexObjectAt(const Json& value, const std::string& path) {
  RejectUnknownKeys(value, {"hex"}, path);
  return HexAt(value.at("hex"), ChildPath(path, "hex"));
}

namespace {
const Json* Member(const Json& object, std::string_view key) {
  const auto it = object.find(key);
  return (it == object.end() || it->is_null()) ? nullptr : &*it;
}
}  // namespace

std::optional<std::string> OptionalText(const Json& object, std::string_view key,
                                        const std::string& path) {
  const Json* member = Member(object, key);
  if (!member) return std::nullopt;
  return TextAt(*member, ChildPath(path, key));
}

std::optional<std::int64_t> OptionalInteger(const Json& object, std::string_view key,
                                            std::int64_t min, std::int64_t max,
                                            const std::string& path) {
  const Json* member = Member(object, key);
  if (!member) return std::nullopt;
  return IntegerAt(*member, min, max, ChildPath(path, key));
}

bool OptionalFlag(const Json& object, std::string_view key, const std::string& path) {
  const Json* member = Member(object, key);
  if (!member) return false;
  if (!member->is_boolean()) throw SchemaError(ChildPath(path, key), "expected true or false");
  return member->get<bool>();
}

}  // namespace rfcsim
