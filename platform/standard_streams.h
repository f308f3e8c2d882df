// How the process's standard streams carry bytes.
#pragma once

namespace platform {

// Standard output and error carry bytes as written: on Windows the C
// runtime's text mode would turn each line feed into CR LF, which a reader
// that passes the bytes on to a stream of its own would double. Called
// before anything is written.
void UseBinaryStandardStreams();

}  // namespace platform
