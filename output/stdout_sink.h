#pragma once

#include <cstdio>

#include "output/output_sink.h"

namespace output {

// Writes to a C stream (standard output or standard error) as it is: on
// Windows the C runtime's text mode turns each line feed into CR LF, as the
// monitors of a Windows console program expect.
class StreamSink : public OutputSink {
 public:
  explicit StreamSink(std::FILE* stream) : stream_(stream) {}
  void Write(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stream_);
  }
  void Flush() override { std::fflush(stream_); }

 private:
  std::FILE* stream_;
};

}  // namespace output
