#include "rfc/netweaver/answer_reader.h"

#include <algorithm>
#include <array>

#include "output/packed_decimal.h"
#include "rfc/netweaver/step_failure.h"
#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

constexpr std::size_t kPackedSizeBytes = 11;
constexpr std::size_t kPackedSizeDigits = 2 * kPackedSizeBytes - 1;
// Room for the text of any packed field (at most 31 digits, sign, point).
constexpr unsigned kDecimalTextRoom = 40;

bool AllDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

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

bool AnswerReader::Succeeded(::nw::RFC_RC code, const ::nw::RFC_ERROR_INFO& info) {
  if (code != ::nw::RFC_OK) failure_ = ReadFailure(info);
  return code == ::nw::RFC_OK;
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Structure(::nw::DATA_CONTAINER_HANDLE container,
                                                    const ::nw::SAP_UC* name) {
  ::nw::RFC_STRUCTURE_HANDLE structure = nullptr;
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.get_structure(container, name, &structure, &info), info)) {
    return nullptr;
  }
  return structure;
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Table(::nw::DATA_CONTAINER_HANDLE container,
                                                const ::nw::SAP_UC* name) {
  ::nw::RFC_TABLE_HANDLE table = nullptr;
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.get_table(container, name, &table, &info), info)) {
    return nullptr;
  }
  return table;
}

unsigned AnswerReader::RowCount(::nw::DATA_CONTAINER_HANDLE table) {
  unsigned count = 0;
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.get_row_count(table, &count, &info), info)) return 0;
  return count;
}

::nw::DATA_CONTAINER_HANDLE AnswerReader::Row(::nw::DATA_CONTAINER_HANDLE table, unsigned index) {
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.move_to(table, index, &info), info)) return nullptr;
  ::nw::RFC_STRUCTURE_HANDLE row = api_.get_current_row(table, &info);
  if (row == nullptr) failure_ = ReadFailure(info);
  return row;
}

std::string AnswerReader::Text(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                               std::size_t width) {
  std::u16string buffer(width, u' ');
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.get_chars(container, name, buffer.data(),
                                            static_cast<unsigned>(width), &info),
                             info)) {
    return {};
  }
  const std::string field = Latin1Field(buffer, width);
  return field.substr(0, field.find('\0'));
}

std::uint32_t AnswerReader::Integer(::nw::DATA_CONTAINER_HANDLE container,
                                    const ::nw::SAP_UC* name) {
  ::nw::RFC_INT value = 0;
  ::nw::RFC_ERROR_INFO info{};
  if (failure_ || !Succeeded(api_.get_int(container, name, &value, &info), info)) return 0;
  return static_cast<std::uint32_t>(value);
}

FillingSize AnswerReader::Size(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name) {
  if (failure_) return {};
  std::u16string buffer(kDecimalTextRoom, u'\0');
  unsigned length = 0;
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_RC code = api_.get_string(container, name, buffer.data(),
                                      static_cast<unsigned>(buffer.size()), &length, &info);
  if (code == ::nw::RFC_BUFFER_TOO_SMALL) {
    buffer.assign(length + 1, u'\0');
    info = {};
    code = api_.get_string(container, name, buffer.data(), static_cast<unsigned>(buffer.size()),
                           &length, &info);
  }
  if (code == ::nw::RFC_CONVERSION_FAILURE) return SizeFromBytes(container, name);
  if (!Succeeded(code, info)) return {};
  const std::string text = Latin1FromUtf16(std::u16string_view(buffer).substr(0, length));
  if (const std::optional<std::string> digits = PackedSizeDigits(text)) {
    return SizeFromPackedText(*digits);
  }
  failure_ = ReadFailure("value " + text + " of field '" + Latin1FromUtf16(name) +
                         "' does not fit " + std::to_string(kPackedSizeBytes) + " packed bytes");
  return {};
}

FillingSize AnswerReader::SizeFromBytes(::nw::DATA_CONTAINER_HANDLE container,
                                        const ::nw::SAP_UC* name) {
  std::array<unsigned char, kPackedSizeBytes> bytes{};
  ::nw::RFC_ERROR_INFO info{};
  if (!Succeeded(api_.get_bytes(container, name, bytes.data(), kPackedSizeBytes, &info), info)) {
    return {};
  }
  return SizeFromPackedText(PackedToText(bytes, 0));
}

}  // namespace rfc::nw
