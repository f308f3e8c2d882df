// Standard output for a run with a deadline: one lock over every write, so
// that the deadline's thread can end the output with a document of its own
// without cutting a line another thread is writing. The output ends once,
// either by the run (End) or by the deadline (Close), and nothing follows.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "output/output_sink.h"
#include "platform/watch.h"

namespace output {

class GuardedOutput final : public OutputSink {
 public:
  explicit GuardedOutput(OutputSink& out) : out_(out) {}
  GuardedOutput(const GuardedOutput&) = delete;
  GuardedOutput& operator=(const GuardedOutput&) = delete;

  // Writes after the end are dropped: the output holds one document.
  void Write(std::string_view bytes) override;
  void Flush() override;
  void HoldDocument() override;
  void OpenDocument(std::string_view head) override;
  void End(std::string_view last, int exit_code) override;

  // The text that ends the output and the exit code that ends the process,
  // when the deadline comes first; `document_open` tells whether a
  // document's opening is out (OpenDocument) that the text must close.
  using LastWords = std::function<std::pair<std::string, int>(bool document_open)>;

  // What the deadline's thread does: unless the run has ended the output,
  // drops what is held and writes `last`'s text; then calls `end_process`
  // with the exit code, the run's own when it ended first. `end_process`
  // is called holding the lock and is meant not to return, so that no
  // other thread writes or ends after it; one that returns (tests) gives
  // the lock back, and the output stays ended.
  void Close(const LastWords& last, const std::function<void(int)>& end_process);

 private:
  OutputSink& out_;
  platform::Lock lock_;
  bool holding_ = false;
  bool document_open_ = false;
  std::string held_;
  std::optional<int> ended_;  // the exit code, once the output has ended
};

}  // namespace output
