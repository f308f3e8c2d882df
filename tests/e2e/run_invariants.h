// What every run of the sensor must respect, whatever the scenario asserts
// besides: it ends with a defined exit code (or crashes where its library
// is made to), it touches no file but the
// ones it owns, and no password of a profile, nor the monitor's password
// or any piece of it, shows in what it writes.
#pragma once

#include "tests/e2e/scenario.h"

namespace e2e {

// Reports each breach as a test failure.
void CheckRunInvariants(const Scenario& scenario, const Outcome& outcome);

}  // namespace e2e
