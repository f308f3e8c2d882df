// What the scenarios expect of a run, in the forms they share.
#pragma once

#include <string_view>

#include "tests/e2e/scenario.h"

namespace e2e {

// The run ended with exactly the PRTG error document for `escaped_message`
// on standard output, nothing on standard error, exit code 2, and left every
// file as it was.
void ExpectErrorDocument(const Outcome& outcome, std::string_view escaped_message);

// The sensor found its profile and accepted the place: neither "profile
// missing" (Error 1002) nor the path-usage refusal. What follows depends on
// the profile and the systems, so only its general shape is checked: one of
// the sensor's exit codes, and a well-formed PRTG document where one was
// printed.
void ExpectProfileLocated(const Outcome& outcome);

}  // namespace e2e
