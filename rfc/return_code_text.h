// The failure text that a remote step appends to the result document when
// its call does not succeed; the run completes it from the trace file.
#pragma once

#include <string>
#include <string_view>

// Return code 1, 2 (with the exception name the library reported, empty when
// it gave none), 3, and any other non-zero code, each to its own text.
std::string ReturnCodeText(int code, std::string_view exception);
