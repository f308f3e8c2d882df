#include "rfc/netweaver/field_reading.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "rfc/netweaver/packed_decimal_packing.h"
#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

// Room for the text of any packed field (at most 31 digits, sign, point).
constexpr unsigned kPackedTextRoom = 40;

std::string NameText(const ::nw::SAP_UC* name) {
  std::u16string_view view(name);
  return Latin1FromUtf16(view);
}

}  // namespace

ReadFailure FieldReader::Text(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                              std::size_t characters, std::size_t width, unsigned char* out) const {
  std::u16string buffer(std::max(characters, width), u' ');
  ::nw::RFC_ERROR_INFO info{};
  if (api_.get_chars(container, name, buffer.data(), static_cast<unsigned>(buffer.size()), &info) !=
      ::nw::RFC_OK) {
    return FromNetWeaver(info);
  }
  const std::string field = Latin1Field(buffer, width);
  std::memcpy(out, field.data(), width);
  return std::nullopt;
}

ReadFailure FieldReader::Integer(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                                 std::size_t size, unsigned char* out) const {
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_RC code = ::nw::RFC_OK;
  if (size == sizeof(::nw::RFC_INT)) {
    ::nw::RFC_INT value = 0;
    code = api_.get_int(container, name, &value, &info);
    std::memcpy(out, &value, sizeof value);
  } else if (size == sizeof(::nw::RFC_INT2)) {
    ::nw::RFC_INT2 value = 0;
    code = api_.get_int2(container, name, &value, &info);
    std::memcpy(out, &value, sizeof value);
  } else if (size == sizeof(::nw::RFC_INT1)) {
    ::nw::RFC_INT1 value = 0;
    code = api_.get_int1(container, name, &value, &info);
    std::memcpy(out, &value, sizeof value);
  } else {
    return AdapterFailure("RFC_CONVERSION_FAILURE", "integer field '" + NameText(name) + "' of " +
                                                        std::to_string(size) + " bytes");
  }
  if (code != ::nw::RFC_OK) return FromNetWeaver(info);
  return std::nullopt;
}

ReadFailure FieldReader::Packed(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                                std::size_t length, std::size_t decimals,
                                unsigned char* out) const {
  std::u16string buffer(kPackedTextRoom, u'\0');
  unsigned text_length = 0;
  ::nw::RFC_ERROR_INFO info{};
  ::nw::RFC_RC code = api_.get_string(container, name, buffer.data(),
                                      static_cast<unsigned>(buffer.size()), &text_length, &info);
  if (code == ::nw::RFC_BUFFER_TOO_SMALL) {
    buffer.assign(text_length + 1, u'\0');
    info = {};
    code = api_.get_string(container, name, buffer.data(), static_cast<unsigned>(buffer.size()),
                           &text_length, &info);
  }
  if (code == ::nw::RFC_CONVERSION_FAILURE) return PackedBytes(container, name, length, out);
  if (code != ::nw::RFC_OK) return FromNetWeaver(info);
  const std::string text = Latin1FromUtf16(
      std::u16string_view(buffer.data(), std::min<std::size_t>(text_length, buffer.size())));
  const std::optional<std::string> packed = PackDecimalText(text, length, decimals);
  if (!packed) {
    return AdapterFailure("RFC_CONVERSION_FAILURE", "value " + text + " of field '" +
                                                        NameText(name) + "' does not fit " +
                                                        std::to_string(length) + " packed bytes");
  }
  std::memcpy(out, packed->data(), length);
  return std::nullopt;
}

ReadFailure FieldReader::PackedBytes(::nw::DATA_CONTAINER_HANDLE container,
                                     const ::nw::SAP_UC* name, std::size_t length,
                                     unsigned char* out) const {
  std::string bytes(length, '\0');
  ::nw::RFC_ERROR_INFO info{};
  if (api_.get_bytes(container, name, reinterpret_cast<::nw::SAP_RAW*>(bytes.data()),
                     static_cast<unsigned>(length), &info) != ::nw::RFC_OK) {
    return FromNetWeaver(info);
  }
  std::memcpy(out, bytes.data(), length);
  return std::nullopt;
}

}  // namespace rfc::nw
