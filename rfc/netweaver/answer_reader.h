// Reading the fields of a module's answer from the NetWeaver library's data
// containers (function, structure, table row) into the sensor's values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rfc/filling_row.h"
#include "rfc/netweaver/entry_points.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// The first failure ends the reading: every later read returns an empty
// value without asking the library, and failure() tells what failed.
class AnswerReader {
 public:
  explicit AnswerReader(const EntryPoints& api) : api_(api) {}

  ::nw::DATA_CONTAINER_HANDLE Structure(::nw::DATA_CONTAINER_HANDLE container,
                                        const ::nw::SAP_UC* name);
  ::nw::DATA_CONTAINER_HANDLE Table(::nw::DATA_CONTAINER_HANDLE container,
                                    const ::nw::SAP_UC* name);
  unsigned RowCount(::nw::DATA_CONTAINER_HANDLE table);
  // Row `index` of `table`, counted from 0.
  ::nw::DATA_CONTAINER_HANDLE Row(::nw::DATA_CONTAINER_HANDLE table, unsigned index);

  // A character field of `width` characters as that many single bytes, up
  // to a NUL among them.
  std::string Text(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name,
                   std::size_t width);
  // A 4-byte integer in its unsigned form.
  std::uint32_t Integer(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name);
  // A packed size field of 11 bytes (21 digits, no places) from the decimal
  // text the library hands out for it ("-1", "2147483648"; blanks around it,
  // a leading "+" and a point followed by zeros only are allowed), reported
  // as the sensor reports the packed field (SizeFromPackedText); any other
  // text is a failure. Bytes that are no packed number have no decimal text:
  // they are read as they are (RfcGetBytes), as the sensor reads a classic
  // row's packed field.
  FillingSize Size(::nw::DATA_CONTAINER_HANDLE container, const ::nw::SAP_UC* name);

  const std::optional<RemoteFailure>& failure() const { return failure_; }

 private:
  // The value `call(value, info)` fills, unless the reading has stopped; an
  // empty value when `call` does not return RFC_OK, the failure of `info`
  // kept.
  template <class Value, class Call>
  Value Read(Call call);

  const EntryPoints& api_;
  std::optional<RemoteFailure> failure_;
};

}  // namespace rfc::nw
