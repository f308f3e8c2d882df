// Properties the fuzz targets check beyond the sanitizers. A broken one is a
// finding: it names itself on standard error and aborts, which libFuzzer
// reports with the input and a stack.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void Broken(const char* property) {
  std::fprintf(stderr, "fuzz property broken: %s\n", property);
  std::abort();
}

inline void Require(bool holds, const char* property) {
  if (!holds) Broken(property);
}

}  // namespace fuzz
