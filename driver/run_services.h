// What a run talks to outside its own state: the RFC library and the two
// standard streams. The driver builds it; tests hand in fakes.
#pragma once

#include "output/output_sink.h"
#include "rfc/sap_library.h"

namespace driver {

struct RunServices {
  rfc::SapLibrary& rfc;
  output::OutputSink& out;  // standard output: console lines and the result document
  output::OutputSink& err;  // standard error: trace lines and the abort log
};

}  // namespace driver
