// The one engine behind the library's C functions. Like the sensor, it is
// single-threaded: nothing here guards against calls from two threads.
#pragma once

#include <memory>

#include "rfcsim/engine.h"

namespace rfcsim {

// Created on first use by EngineFromEnvironment, so that a program that
// never calls the library never reads a landscape.
Engine& ProcessEngine();

// Puts `engine` in place of the current one (tests).
void InstallProcessEngine(std::unique_ptr<Engine> engine);

// The engine the library makes for itself: the landscape from the file that
// RFCSIM_LANDSCAPE names, else "rfcsim.json" in the working directory; the
// record to the file RFCSIM_RECORD names, if any; trace and destination
// files in the working directory. A landscape problem is reported as one
// line on standard error.
std::unique_ptr<Engine> EngineFromEnvironment();

}  // namespace rfcsim
