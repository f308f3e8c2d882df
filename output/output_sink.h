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

  // How a run's result document goes out. A sink that may have to end the
  // output with a document of its own (the run's deadline) needs to know
  // what is out and what is not; the others write at once.
  //
  // What is written from here on is held until the end: an unfinished
  // document that the deadline may replace (the single run's measurement).
  virtual void HoldDocument() {}
  // Writes `head`, a document's opening that stays on the output: from here
  // on the deadline must close this document, not print one of its own (a
  // listing's head, before its channels).
  virtual void OpenDocument(std::string_view head) { Write(head); }
  // The run's last text, after whatever is held, and the exit code the
  // process ends with: written and flushed in one step, and nothing is
  // written after it.
  virtual void End(std::string_view last, [[maybe_unused]] int exit_code) {
    Write(last);
    Flush();
  }
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
