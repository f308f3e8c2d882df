// No exception may leave through a C function of the library: one that
// escapes (memory exhausted) becomes RFC_MEMORY_INSUFFICIENT, with a null
// handle where the function returns one.
#pragma once

#include "rfcsim/nw/error_info.h"

namespace rfcsim::nw {

template <typename Result, typename Body>
Result Guarded(Result on_exception, RFC_ERROR_INFO* error, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    SetError(error, RFC_MEMORY_INSUFFICIENT, EXTERNAL_RUNTIME_FAILURE, "RFC_MEMORY_INSUFFICIENT",
             "rfcsim: out of memory");
    return on_exception;
  }
}

}  // namespace rfcsim::nw
