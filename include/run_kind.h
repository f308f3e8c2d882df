#pragma once

// Which run reads a profile: it decides line limits and what a defect does.
enum class RunKind {
  kSingleSystem,  // one system; a defect ends the run with an error document
  kListing,       // many systems; a defect marks only that system failed
};
