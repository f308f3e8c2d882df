// Where the sensor's bytes go: standard output for the monitor, standard
// error for diagnostics. The driver owns the sinks; tests capture them.
#pragma once

#include <string>
#include <string_view>

namespace output {

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  virtual void Write(std::string_view bytes) = 0;
  virtual void Flush() {}
  // The result document begins and ends. A sink that may have to replace
  // an unfinished document by another (the run's deadline) holds what is
  // written in between until the document is released; the others write
  // it at once.
  virtual void HoldDocument() {}
  virtual void ReleaseDocument() {}
};

// Collects everything written, for tests.
class StringSink : public OutputSink {
 public:
  void Write(std::string_view bytes) override { text_.append(bytes); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace output
