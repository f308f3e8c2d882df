// Checks on what the sensor prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace e2e {

// Whether `document` is well-formed XML, as xmllint judges it; on failure
// the message holds xmllint's complaint and the document.
::testing::AssertionResult IsWellFormedXml(std::string_view document);

// `text` with every time of day ("12:34:56") replaced by "hh:mm:ss", for
// comparing console lines.
std::string MaskTimes(std::string text);

// The PRTG error document exactly as the sensor prints it for `message`
// (already escaped for XML).
std::string PrtgErrorDocument(std::string_view escaped_message);

// Whether `text` has the shape of a PRTG error document, whatever its
// message.
bool IsPrtgErrorDocument(std::string_view text);

}  // namespace e2e
