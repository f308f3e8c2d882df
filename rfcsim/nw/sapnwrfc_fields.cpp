// The C functions that read and write fields of a container (a table handle
// means its current row) and move through tables.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "rfcsim/nw/containers.h"
#include "rfcsim/nw/guarded.h"
#include "rfcsim/nw/packed_text.h"
#include "rfcsim/nw/utf16.h"

namespace rfcsim::nw {
namespace {

// The field `name` of the record `handle` reads, or null with the error
// reported.
Slot* FieldOf(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_ERROR_INFO* error) {
  Container* container = Container::FromHandle(handle);
  if (!container) {
    SetError(error, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
             "not a data container");
    return nullptr;
  }
  Record* record = container->Current();
  if (!record) {
    SetError(error, RFC_ILLEGAL_STATE, EXTERNAL_RUNTIME_FAILURE, "RFC_ILLEGAL_STATE",
             "the table has no current row");
    return nullptr;
  }
  const std::u16string_view wanted = TerminatedText(name);
  Slot* slot = record->Find(wanted);
  if (!slot) {
    SetError(error, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_PARAMETER",
             "field '" + Utf16ToLatin1(wanted) + "' not found");
  }
  return slot;
}

RFC_RC Failed(RFC_ERROR_INFO* error) { return error ? error->code : RFC_INVALID_PARAMETER; }

RFC_RC Conversion(RFC_ERROR_INFO* error, const Slot& slot, std::string_view to) {
  return SetError(
      error, RFC_CONVERSION_FAILURE, EXTERNAL_RUNTIME_FAILURE, "RFC_CONVERSION_FAILURE",
      platform::Joined("field '", Utf16ToLatin1(slot.name), "' cannot be read as ", to));
}

bool IsInteger(RFCTYPE type) {
  return type == RFCTYPE_INT || type == RFCTYPE_INT2 || type == RFCTYPE_INT1;
}

// Integers within [min, max], from integer fields only.
template <typename Integer>
RFC_RC GetInteger(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, Integer* value,
                  RFC_ERROR_INFO* error, std::int64_t min, std::int64_t max,
                  std::string_view what) {
  const Slot* slot = FieldOf(handle, name, error);
  if (!slot) return Failed(error);
  if (!IsInteger(slot->type) || slot->number < min || slot->number > max) {
    return Conversion(error, *slot, what);
  }
  if (value) *value = static_cast<Integer>(slot->number);
  ClearError(error);
  return RFC_OK;
}

// The text RfcGetString hands out; nullopt when the field has none.
std::optional<std::u16string> StringOf(const Slot& slot) {
  if (IsTextType(slot.type)) return slot.text;
  if (IsInteger(slot.type)) return Latin1ToUtf16(std::to_string(slot.number));
  if (slot.type == RFCTYPE_BCD) {
    if (const auto text = PackedToText(slot.packed, slot.decimals)) return Latin1ToUtf16(*text);
  }
  return std::nullopt;
}

// The bytes RfcGetBytes hands out.
Bytes BinaryOf(const Slot& slot) {
  if (slot.type == RFCTYPE_BCD) return slot.packed;
  Bytes bytes;
  if (IsInteger(slot.type)) {
    const auto value = static_cast<std::uint64_t>(slot.number);
    for (unsigned i = 0; i < slot.length; ++i) {
      bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
  } else if (IsTextType(slot.type)) {
    for (char16_t unit : slot.text) {
      bytes.push_back(static_cast<unsigned char>(unit & 0xFFu));
      bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
  }
  return bytes;
}

}  // namespace

extern "C" {

RFC_RC RFCSIM_NW_API RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 const RFC_CHAR* charValue, unsigned valueLength,
                                 RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    if (!IsTextType(slot->type)) return Conversion(errorInfo, *slot, "characters");
    if (valueLength > slot->length || (valueLength > 0 && !charValue)) {
      return SetError(
          errorInfo, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_PARAMETER",
          platform::Joined("value too long for field '", Utf16ToLatin1(slot->name), "'"));
    }
    slot->text =
        Fitted(std::u16string_view(charValue ? charValue : u"", valueLength), slot->length);
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 RFC_CHAR* charBuffer, unsigned bufferLength,
                                 RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    if (!IsTextType(slot->type)) return Conversion(errorInfo, *slot, "characters");
    if (bufferLength < slot->length || !charBuffer) {
      return SetError(errorInfo, RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                      "RFC_BUFFER_TOO_SMALL",
                      platform::Joined("field '", Utf16ToLatin1(slot->name), "' has ",
                                       std::to_string(slot->length), " characters"));
    }
    const std::u16string value = Fitted(slot->text, bufferLength);
    std::copy(value.begin(), value.end(), charBuffer);
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                               RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    return GetInteger(dataHandle, name, value, errorInfo, std::numeric_limits<RFC_INT>::min(),
                      std::numeric_limits<RFC_INT>::max(), "a 4-byte integer");
  });
}

RFC_RC RFCSIM_NW_API RfcGetInt1(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                RFC_INT1* value, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    return GetInteger(dataHandle, name, value, errorInfo, 0, 255, "a 1-byte integer");
  });
}

RFC_RC RFCSIM_NW_API RfcGetInt2(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                RFC_INT2* value, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    return GetInteger(dataHandle, name, value, errorInfo, std::numeric_limits<RFC_INT2>::min(),
                      std::numeric_limits<RFC_INT2>::max(), "a 2-byte integer");
  });
}

RFC_RC RFCSIM_NW_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                  SAP_UC* stringBuffer, unsigned bufferLength,
                                  unsigned* stringLength, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    const std::optional<std::u16string> text = StringOf(*slot);
    if (!text) return Conversion(errorInfo, *slot, "a text");
    const auto length = static_cast<unsigned>(text->size());
    if (stringLength) *stringLength = length;
    if (!stringBuffer || bufferLength <= length) {
      return SetError(errorInfo, RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                      "RFC_BUFFER_TOO_SMALL",
                      platform::Joined("field '", Utf16ToLatin1(slot->name), "' needs ",
                                       std::to_string(length + 1), " characters"));
    }
    std::copy(text->begin(), text->end(), stringBuffer);
    stringBuffer[length] = u'\0';
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetBytes(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 SAP_RAW* byteBuffer, unsigned bufferLength,
                                 RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    if (slot->type != RFCTYPE_BCD && !IsInteger(slot->type) && !IsTextType(slot->type)) {
      return Conversion(errorInfo, *slot, "bytes");
    }
    const Bytes bytes = BinaryOf(*slot);
    if (bytes.size() > bufferLength || (!bytes.empty() && !byteBuffer)) {
      return SetError(errorInfo, RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                      "RFC_BUFFER_TOO_SMALL",
                      platform::Joined("field '", Utf16ToLatin1(slot->name), "' has ",
                                       std::to_string(bytes.size()), " bytes"));
    }
    if (byteBuffer) {
      std::fill(std::copy(bytes.begin(), bytes.end(), byteBuffer), byteBuffer + bufferLength,
                SAP_RAW{0});
    }
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                     RFC_STRUCTURE_HANDLE* structHandle,
                                     RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    if (!slot->structure) return Conversion(errorInfo, *slot, "a structure");
    if (structHandle) *structHandle = slot->structure->Handle();
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                 RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    Slot* slot = FieldOf(dataHandle, name, errorInfo);
    if (!slot) return Failed(errorInfo);
    if (!slot->table) return Conversion(errorInfo, *slot, "a table");
    if (tableHandle) *tableHandle = slot->table->Handle();
    ClearError(errorInfo);
    return RFC_OK;
  });
}

}  // extern "C"

}  // namespace rfcsim::nw
