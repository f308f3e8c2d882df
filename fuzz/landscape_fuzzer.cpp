// rfcsim's landscape loader over any bytes: a broken landscape must give an
// empty one with its problem named, never a crash or an exception.
//
// Input: the landscape file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/support/check.h"
#include "rfcsim/landscape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const rfcsim::LandscapeLoad load = rfcsim::ParseLandscape(text, "fuzz.json");
  fuzz::Require(
      load.problem.empty() || (load.landscape.systems.empty() && load.landscape.faults.empty()),
      "a landscape with a problem is empty");
  return 0;
}
