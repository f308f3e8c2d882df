// The C functions of function and type descriptions.
#include "rfcsim/nw/containers.h"
#include "rfcsim/nw/guarded.h"

namespace rfcsim::nw {
namespace {

RFC_RC InvalidHandle(RFC_ERROR_INFO* error, std::string_view what) {
  return SetError(error, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE", what);
}

RFC_RC NoSuchIndex(RFC_ERROR_INFO* error, unsigned index) {
  return SetError(error, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_PARAMETER",
                  "no element at index " + std::to_string(index));
}

}  // namespace

extern "C" {

RFC_RC RFCSIM_NW_API RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned* count,
                                          RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const FunctionDescription* function = FunctionFromHandle(funcDesc);
    if (!function) return InvalidHandle(errorInfo, "not a function description");
    if (!count) return NoSuchIndex(errorInfo, 0);
    *count = static_cast<unsigned>(function->parameters.size());
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned index,
                                                RFC_PARAMETER_DESC* paramDesc,
                                                RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const FunctionDescription* function = FunctionFromHandle(funcDesc);
    if (!function) return InvalidHandle(errorInfo, "not a function description");
    if (!paramDesc || index >= function->parameters.size()) return NoSuchIndex(errorInfo, index);
    *paramDesc = function->parameters[index];
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_TYPE_DESC_HANDLE RFCSIM_NW_API RfcDescribeType(DATA_CONTAINER_HANDLE dataHandle,
                                                   RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_TYPE_DESC_HANDLE{}, errorInfo, [&]() -> RFC_TYPE_DESC_HANDLE {
    const Container* container = Container::FromHandle(dataHandle);
    const TypeDescription* type = container ? container->Type() : nullptr;
    if (!type) {
      InvalidHandle(errorInfo, "not a structure or table handle");
      return nullptr;
    }
    ClearError(errorInfo);
    return HandleOf(*type);
  });
}

RFC_RC RFCSIM_NW_API RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                      RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const TypeDescription* type = TypeFromHandle(typeHandle);
    if (!type) return InvalidHandle(errorInfo, "not a type description");
    if (!count) return NoSuchIndex(errorInfo, 0);
    *count = static_cast<unsigned>(type->fields.size());
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle, unsigned index,
                                            RFC_FIELD_DESC* fieldDescr, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    const TypeDescription* type = TypeFromHandle(typeHandle);
    if (!type) return InvalidHandle(errorInfo, "not a type description");
    if (!fieldDescr || index >= type->fields.size()) return NoSuchIndex(errorInfo, index);
    *fieldDescr = type->fields[index];
    ClearError(errorInfo);
    return RFC_OK;
  });
}

}  // extern "C"

}  // namespace rfcsim::nw
