// What a run talks to outside its own state: the RFC library and the two
// standard streams. The driver builds it; tests hand in fakes.
#pragma once

#include "include/output_sink.h"
#include "rfc/sap_library.h"

struct RunServices {
  rfc::SapLibrary& rfc;
  OutputSink& out;  // standard output: console lines and the result document
  OutputSink& err;  // standard error: trace lines and the abort log
};
