#pragma once

#include <string>

namespace config {

// The monitor format this installation writes: the environment setting
// BRACKWATER_FLAVOUR when set and not empty, else the first line of
// "brackwater.flavour" beside the executable, else "EXEXML" (PRTG). The
// keyword is taken as written.
std::string SelectOutputFlavour();

}  // namespace config
