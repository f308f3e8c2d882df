// Checks on what the sensor prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace e2e {

// Whether `document` is well-formed XML, as xmllint judges it; on failure
// the message holds xmllint's complaint and the document.
::testing::AssertionResult IsWellFormedXml(std::string_view document);

// Whether `out` is one monitoring-plugin status line, "MAXDB <STATE> - ...",
// whose state is the one `exit_code` stands for, with any performance data
// in the guidelines' grammar: blank-separated 'label'=value[UOM] and up to
// four ";"-separated fields (warning and critical ranges, minimum, maximum).
::testing::AssertionResult IsNagiosAnswer(std::string_view out, int exit_code);

// Whether `out` is one JSON document and a line feed that validates
// against our Script v2 schema (docs/script-v2-schema.json, checked with
// Debian's python3-jsonschema), with no channel id twice, and the exit code
// 0 that PRTG takes the document with.
::testing::AssertionResult IsScriptV2Answer(std::string_view out, int exit_code);

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
