// Reading one field of a NetWeaver data container (function, structure or
// table row) into the bytes of a classic field.
#pragma once

#include <cstddef>
#include <optional>

#include "rfc/netweaver/adapter_error.h"
#include "rfc/netweaver/entry_points.h"

namespace rfc::nw {

// Nothing on success, else what failed.
using ReadFailure = std::optional<AdapterError>;

class FieldReader {
 public:
  explicit FieldReader(const EntryPoints& api) : api_(api) {}

  // A text field: `characters` UTF-16 characters asked for (at least the
  // field's length), written as `width` single bytes (converted, cut or
  // blank-padded: see Latin1Field).
  ReadFailure Text(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                   std::size_t characters, std::size_t width, unsigned char* out) const;

  // An integer of `size` bytes (4 RFC_INT, 2 RFC_INT2, 1 RFC_INT1) in the
  // machine's byte order, as the caller's integers are.
  ReadFailure Integer(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                      std::size_t size, unsigned char* out) const;

  // A packed field of `length` bytes with `decimals` places, re-packed from
  // the library's decimal text; a value that does not fit is a failure.
  // Bytes that are no packed number have no decimal text: the library hands
  // them over as they are (RfcGetBytes), as the classic library does.
  ReadFailure Packed(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                     std::size_t length, std::size_t decimals, unsigned char* out) const;

 private:
  ReadFailure PackedBytes(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                          std::size_t length, unsigned char* out) const;

  const EntryPoints& api_;
};

}  // namespace rfc::nw
