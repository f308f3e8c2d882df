#include "rfc/netweaver/answer_reader.h"

#include <algorithm>
#include <array>

#include "rfc/netweaver/step_failure.h"
#include "rfc/netweaver/text_conversion.h"
#include "rfc/packed_decimal.h"

namespace rfc::nw {
namespace {

constexpr std::size_t kPackedSizeBytes = 11;
constexpr std::size_t kPackedSizeDigits = 2 * kPackedSizeBytes - 1;
// Room for the text of any packed field (at most 31 digits, sign, point).
constexpr unsigned kDecimalTextRoom = 40;

bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The sign and digits of the packed field of a decimal text: "-" before a
// value below zero, no leading zero, empty for zero. Nothing when the text
// is no number of the field.
std::optional<std::string> PackedSizeDigits(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  // No places: a fraction may hold zeros only.
  if ((whole.empty() && fraction.empty()) || !AllDigits(whole) ||
      fraction.find_first_not_of('0') != std::string_view::npos) {
    return std::nullopt;
  }
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.size() > kPackedSizeDigits) return std::nullopt;
  return std::string(negative && !whole.empty() ? "-" : "").append(whole);
}

}  // namespace

template <class Value, class Call>
Value AnswerReader::Read(Call call) {
  Value value{};
  ::nw::RFC_ERROR_INFO info{};
  if (failure_) return Value{};
  if (call(value, info) == ::nw::RFC_OK) return value;
  failure_ = ReadFailure(info);
  return Value{};
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Structure(::nw::DATA_CONTAINER_HANDLE container,
                                                    const ::nw::SAP_UC* name) {
  return Read<::nw::RFC_STRUCTURE_HANDLE>([&](auto& structure, auto& info) {
    return api_.get_structure(container, name, &structure, &info);
  });
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Table(::nw::DATA_CONTAINER_HANDLE container,
                                                const ::nw::SAP_UC* name) {
  return Read<::nw::RFC_TABLE_HANDLE>(
      [&](auto& table, auto& info) { return api_.get_table(container, name, &table, &info); });
}

unsigned AnswerReader::RowCount(::nw::DATA_CONTAINER_HANDLE table) {
  return Read<unsigned>(
      [&](auto& count, auto& info) { return api_.get_row_count(table, &count, &info); });
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Row(::nw::DATA_CONTAINER_HANDLE table, unsigned index) {
  return Read<::nw::RFC_STRUCTURE_HANDLE>([&](auto& row, auto& info) {
    if (const ::nw::RFC_RC code = api_.move_to(table, index, &info); code != ::nw::RFC_OK) {
      return code;
    }
    row = api_.get_current_row(table, &info);
    return row != nullptr ? ::nw::RFC_OK : ::nw::RFC_UNKNOWN_ERROR;
  });
}

std::string AnswerReader::Text(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                               std::size_t width) {
  const std::u16string buffer = Read<std::u16string>([&](auto& chars, auto& info) {
    chars.assign(width, u' ');
    return api_.get_chars(container, name, chars.data(), static_cast<unsigned>(width), &info);
  });
  if (failure_) return {};
  // Cut or padded to the field's width, so that a character beyond ISO
  // 8859-1 never shifts what follows.
  std::string field = Latin1FromUtf16(buffer);
  field.resize(width, ' ');
  return field.substr(0, field.find('\0'));
}

std::uint32_t AnswerReader::Integer(::nw::DATA_CONTAINER_HANDLE container,
                                    const ::nw::SAP_UC* name) {
  return static_cast<std::uint32_t>(Read<::nw::RFC_INT>(
      [&](auto& value, auto& info) { return api_.get_int(container, name, &value, &info); }));
}

FillingSize AnswerReader::Size(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name) {
  bool no_decimal_text = false;
  const std::u16string text = Read<std::u16string>([&](auto& buffer, auto& info) {
    unsigned length = 0;
    const auto get = [&](unsigned room) {
      buffer.assign(room, u'\0');
      info = {};
      return api_.get_string(container, name, buffer.data(), room, &length, &info);
    };
    ::nw::RFC_RC code = get(kDecimalTextRoom);
    if (code == ::nw::RFC_BUFFER_TOO_SMALL) code = get(length + 1);
    buffer.resize(std::min<std::size_t>(length, buffer.size()));
    no_decimal_text = code == ::nw::RFC_CONVERSION_FAILURE;
    return no_decimal_text ? ::nw::RFC_OK : code;
  });
  if (failure_) return {};
  if (no_decimal_text) {
    const auto bytes =
        Read<std::array<unsigned char, kPackedSizeBytes>>([&](auto& field, auto& info) {
          return api_.get_bytes(container, name, field.data(), kPackedSizeBytes, &info);
        });
    return failure_ ? FillingSize{} : SizeFromPackedText(PackedToText(bytes, 0));
  }
  if (const std::optional<std::string> digits = PackedSizeDigits(Latin1FromUtf16(text))) {
    return SizeFromPackedText(*digits);
  }
  failure_ = ReadFailure("value " + Latin1FromUtf16(text) + " of field '" + Latin1FromUtf16(name) +
                         "' does not fit " + std::to_string(kPackedSizeBytes) + " packed bytes");
  return {};
}

}  // namespace rfc::nw
