// The C functions of connections, function containers and calls.
#include "rfcsim/nw/containers.h"
#include "rfcsim/nw/guarded.h"
#include "rfcsim/nw/simulator.h"

namespace rfcsim::nw {

extern "C" {

RFC_CONNECTION_HANDLE RFCSIM_NW_API
RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams, unsigned paramCount,
                  RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_CONNECTION_HANDLE{}, errorInfo,
                 [&] { return ProcessSimulator().Open(connectionParams, paramCount, errorInfo); });
}

RFC_RC RFCSIM_NW_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                        RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo,
                 [&] { return ProcessSimulator().Close(rfcHandle, errorInfo); });
}

RFC_FUNCTION_DESC_HANDLE RFCSIM_NW_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                          const SAP_UC* funcName,
                                                          RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_FUNCTION_DESC_HANDLE{}, errorInfo,
                 [&] { return ProcessSimulator().FunctionDesc(rfcHandle, funcName, errorInfo); });
}

RFC_FUNCTION_HANDLE RFCSIM_NW_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                    RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_FUNCTION_HANDLE{}, errorInfo, [&]() -> RFC_FUNCTION_HANDLE {
    const FunctionDescription* function = FunctionFromHandle(funcDescHandle);
    if (!function) {
      SetError(errorInfo, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
               "not a function description");
      return nullptr;
    }
    ClearError(errorInfo);
    // Owned by the caller until RfcDestroyFunction.
    return (new Record(*function))->Handle();
  });
}

RFC_RC RFCSIM_NW_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo, [&] {
    auto* function = dynamic_cast<Record*>(Container::FromHandle(funcHandle));
    if (!function || !function->Function()) {
      return SetError(errorInfo, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, "RFC_INVALID_HANDLE",
                      "not a function handle");
    }
    delete function;
    ClearError(errorInfo);
    return RFC_OK;
  });
}

RFC_RC RFCSIM_NW_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                               RFC_ERROR_INFO* errorInfo) {
  return Guarded(RFC_MEMORY_INSUFFICIENT, errorInfo,
                 [&] { return ProcessSimulator().Invoke(rfcHandle, funcHandle, errorInfo); });
}

}  // extern "C"

}  // namespace rfcsim::nw
