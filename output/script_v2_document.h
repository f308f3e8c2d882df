// PRTG's Script v2 answer: one JSON document of version 2 with the run's
// status ("ok", "warning", "error"), its message and its channels, as
// docs/script-v2-schema.json describes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "output/document_record.h"

namespace output {

// The document, with a line feed after it.
std::string ScriptV2Document(const DocumentRecord& record);

// The channel ids of `names`, in their order, each in PRTG's range 10 to
// 2,147,483,647 and none twice. A name of `fixed` has its place there + 10.
// Any other name (a listing's systems) takes its id from the name alone: a
// 32-bit FNV-1a hash folded into the range, so that a system keeps its id
// whichever systems are listed beside it and in whatever order. Names
// whose ids collide are resolved in the byte order of the names: the
// smallest keeps its id, each next one takes the next free id above it
// (after 2,147,483,647 comes 10 again).
std::vector<long> ChannelIds(const std::vector<std::string>& names,
                             const std::vector<std::string>& fixed);

}  // namespace output
