// End-to-end runs of the sensor: lays out a scenario's drives, starts the
// sensor under test (see sensor_target.h) as its own process and collects
// what it did.
#pragma once

#include "tests/e2e/scenario.h"

namespace e2e {

// Runs the scenario in a scratch directory of its own. A sensor that dies
// of a signal (but for the crash a scenario's library is made for) or
// outlives its minute is reported as a test failure here; the outcome is
// returned all the same.
Outcome RunSensor(const Scenario& scenario);

}  // namespace e2e
