// Standard output for a run with a deadline: one lock over every write, so
// that the deadline's thread can end the output with a document of its own
// without cutting a line another thread is writing, and nothing follows it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "output/output_sink.h"
#include "platform/watch.h"

namespace output {

class GuardedOutput final : public OutputSink {
 public:
  explicit GuardedOutput(OutputSink& out) : out_(out) {}
  GuardedOutput(const GuardedOutput&) = delete;
  GuardedOutput& operator=(const GuardedOutput&) = delete;

  void Write(std::string_view bytes) override;
  void Flush() override;
  void HoldDocument() override;
  void ReleaseDocument() override;

  // The run has written all it writes and ends with `exit_code`.
  void Finish(int exit_code);

  // What the deadline's thread writes last: unless the run has finished,
  // a document held unfinished is dropped and `last()` gives the text that
  // ends the output and the exit code that ends the process. Keeps the
  // lock for good, so that no other thread writes after it: the caller
  // ends the process at once. Returns the exit code to end with.
  int Close(const std::function<std::pair<std::string, int>()>& last);

 private:
  OutputSink& out_;
  platform::Lock lock_;
  bool holding_ = false;
  std::string held_;
  std::optional<int> finished_;
};

}  // namespace output
