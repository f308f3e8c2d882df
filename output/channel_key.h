#pragma once

#include <string>
#include <string_view>

namespace output {

// The identifier form of a channel name that Halvaric monitors key their
// values by: blanks, "/", "\", "[", "]", "*", "(", ")", ":" and "-" become
// "_", and so does the first "." (later points stay).
std::string ChannelKey(std::string_view name);

}  // namespace output
