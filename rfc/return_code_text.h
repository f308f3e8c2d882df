// The failure text of a remote step that did not succeed: what the return
// code says, completed by the library's own words for the cause.
#pragma once

#include <string>
#include <string_view>

#include "rfc/sap_library.h"

// Return code 1, 2 (with the exception name the library reported, empty when
// it gave none), 3, and any other non-zero code, each to its own text.
std::string ReturnCodeText(int code, std::string_view exception);

// The return code's text followed by " - " and the library's message, the
// request to check the trace file when there is no message, or to look for
// it when there was no trace file to read.
std::string FailureText(const rfc::RemoteFailure& failure);
