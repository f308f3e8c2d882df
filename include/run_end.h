// The two ways a run ends early. Deep code throws them; the driver alone
// prints what they carry and turns them into the exit code.
#pragma once

#include <stdexcept>
#include <string>

// A failure the result document describes: the driver writes the PRTG error
// document with `message`, prints it and exits with 2.
class ErrorDocumentExit : public std::runtime_error {
 public:
  explicit ErrorDocumentExit(const std::string& message) : std::runtime_error(message) {}
};

// A failure of the RFC library's own operations (structure installation,
// internal tables): the driver prints the RFC error report for `operation`
// and exits with 1.
class RfcAbort : public std::runtime_error {
 public:
  explicit RfcAbort(const std::string& operation) : std::runtime_error(operation) {}
};
