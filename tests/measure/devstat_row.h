// DEVSTAT rows as the library hands them out, built from readable values.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// 22 hexadecimal nibbles (21 digits and the sign) as the 11 bytes of a
// packed field.
inline std::string PackedField(std::string_view nibbles) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < nibbles.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(nibbles.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

// A decimal number ("5000", "-1") as a packed field, sign nibble C or D.
inline std::string PackedNumber(std::string_view number) {
  const bool negative = number.starts_with('-');
  if (negative) number.remove_prefix(1);
  std::string nibbles(21 - number.size(), '0');
  nibbles.append(number).push_back(negative ? 'D' : 'C');
  return PackedField(nibbles);
}

struct DevstatValues {
  std::string conf_size = PackedNumber("0");  // packed fields, 11 bytes each
  std::string pag = PackedNumber("0");
  std::int32_t pages_percent = 0;
  std::string perm_used = PackedNumber("0");
  std::int32_t perm_percent = 0;
  std::string temp_used = PackedNumber("0");
  std::int32_t temp_percent = 0;
  std::string un_used = PackedNumber("0");
  std::int32_t unused_percent = 0;
};

// The example system: 5000 configured, 1850 used (37 %), 1700 of it
// permanent (34 %) and 150 temporary (3 %), 3150 free (63 %).
inline DevstatValues ExampleDevstat() {
  DevstatValues v;
  v.conf_size = PackedNumber("5000");
  v.pag = PackedNumber("1850");
  v.pages_percent = 37;
  v.perm_used = PackedNumber("1700");
  v.perm_percent = 34;
  v.temp_used = PackedNumber("150");
  v.temp_percent = 3;
  v.un_used = PackedNumber("3150");
  v.unused_percent = 63;
  return v;
}

inline std::string DevstatRow(const DevstatValues& v) {
  std::string row(144, '\0');
  row.replace(0, 70, std::string(70, 'N'));
  auto put_int = [&row](std::size_t at, std::int32_t value) {
    std::memcpy(row.data() + at, &value, sizeof value);
  };
  row.replace(70, 11, v.conf_size);
  row.replace(81, 11, v.pag);
  put_int(92, v.pages_percent);
  row.replace(96, 11, v.perm_used);
  put_int(108, v.perm_percent);
  row.replace(112, 11, v.temp_used);
  put_int(124, v.temp_percent);
  row.replace(128, 11, v.un_used);
  put_int(140, v.unused_percent);
  return row;
}
