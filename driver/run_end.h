// The two ways a run ends early. The driver's steps throw them; RunSensor
// alone prints what they carry and turns them into the exit code. Below the
// driver failures are values.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

#include "config/config_error.h"
#include "rfc/sap_library.h"

// A failure the result document describes: the driver writes the PRTG error
// document with `message`, prints it and exits with 2.
class ErrorDocumentExit : public std::runtime_error {
 public:
  explicit ErrorDocumentExit(const std::string& message) : std::runtime_error(message) {}
};

// A failure of the RFC library's own operations (structure installation,
// internal tables): the driver prints the RFC error report and exits with 1.
class RfcAbort : public std::runtime_error {
 public:
  explicit RfcAbort(rfc::LibraryFailure failure)
      : std::runtime_error(failure.operation), failure_(std::move(failure)) {}
  const rfc::LibraryFailure& failure() const { return failure_; }

 private:
  rfc::LibraryFailure failure_;
};

// The value of a configuration reading, or the end of the run with its
// error document.
template <class T>
T CheckedOrEnd(config::Checked<T> checked) {
  if (auto* error = std::get_if<config::ConfigError>(&checked)) {
    throw ErrorDocumentExit(error->message);
  }
  return std::get<T>(std::move(checked));
}
