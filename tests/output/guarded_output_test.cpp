// The guarded output under a deadline: wherever the deadline comes in a
// run's writes, standard output holds one document and the process ends
// with that document's exit code. The deadline is the test calling Close
// between two of the run's steps, or from another thread while a step
// writes; its end of the process is a seam that records the code.
#include "output/guarded_output.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Step = std::function<void(output::GuardedOutput&)>;

// The deadline's own documents: the summary that closes an open listing,
// or an error document.
std::pair<std::string, int> TimeoutText(bool document_open) {
  if (document_open) return {"[summary: timeout]", 0};
  return {"[error document: timeout]", 2};
}

struct Ending {
  std::string out;
  int exit_code;
};

// Runs `steps`, the deadline after the first `cut` of them, then the rest
// (a run's thread carries on until the process ends): what standard output
// holds at the end and the exit code the deadline ends the process with.
Ending DeadlineAfter(const std::vector<Step>& steps, std::size_t cut) {
  output::StringSink sink;
  output::GuardedOutput out(sink);
  std::optional<int> ended_with;
  for (std::size_t i = 0; i <= steps.size(); ++i) {
    if (i == cut) out.Close(TimeoutText, [&](int code) { ended_with = code; });
    if (i < steps.size()) steps[i](out);
  }
  EXPECT_TRUE(ended_with.has_value());
  return {sink.text(), ended_with.value_or(-1)};
}

Step Write(std::string text) {
  return [text = std::move(text)](output::GuardedOutput& out) { out.Write(text); };
}
Step Hold() {
  return [](output::GuardedOutput& out) { out.HoldDocument(); };
}
Step Open(std::string head) {
  return [head = std::move(head)](output::GuardedOutput& out) { out.OpenDocument(head); };
}
Step End(std::string last, int exit_code) {
  return
      [last = std::move(last), exit_code](output::GuardedOutput& out) { out.End(last, exit_code); };
}

TEST(GuardedOutput, TheDeadlineBetweenAnyTwoStepsLeavesOneDocument) {
  struct Case {
    const char* run;
    std::vector<Step> steps;
    // What the output holds with the deadline after 0, 1, 2, ... steps.
    std::vector<Ending> expected;
  };
  const Ending timeout_error{"[error document: timeout]", 2};
  const std::vector<Case> cases = {
      {"single run: the measurement held, then ended",
       {Write("[console]"), Hold(), Write("[text]"), End("[channels]", 0)},
       {timeout_error,
        {"[console][error document: timeout]", 2},
        {"[console][error document: timeout]", 2},
        {"[console][error document: timeout]", 2},
        {"[console][text][channels]", 0}}},
      {"single run: a failed filling after its text line",
       {Hold(), Write("[text]"), End("[error document]", 2)},
       {timeout_error, timeout_error, timeout_error, {"[text][error document]", 2}}},
      {"listing: head, channel, summary",
       {Write("[console]"), Open("[head]"), Write("[channel]"), End("[summary]", 0)},
       {timeout_error,
        {"[console][error document: timeout]", 2},
        {"[console][head][summary: timeout]", 0},
        {"[console][head][channel][summary: timeout]", 0},
        {"[console][head][channel][summary]", 0}}},
      {"listing: a failed probe after the head",
       {Open("[head]"), End("[error document]", 2)},
       {timeout_error, {"[head][summary: timeout]", 0}, {"[head][error document]", 2}}},
      {"the RFC error report",
       {Hold(), Write("[text]"), End("[rfc error report]", 1)},
       {timeout_error, timeout_error, timeout_error, {"[text][rfc error report]", 1}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(c.expected.size(), c.steps.size() + 1) << c.run;
    for (std::size_t cut = 0; cut <= c.steps.size(); ++cut) {
      const Ending ending = DeadlineAfter(c.steps, cut);
      EXPECT_EQ(ending.out, c.expected[cut].out) << c.run << ", deadline after step " << cut;
      EXPECT_EQ(ending.exit_code, c.expected[cut].exit_code)
          << c.run << ", deadline after step " << cut;
    }
  }
}

// Starts the deadline on a thread of its own while the run's last text is
// being written: it waits for the end and adds nothing to it.
class DeadlineDuringWrite : public output::StringSink {
 public:
  void Write(std::string_view bytes) override {
    StringSink::Write(bytes);
    if (bytes == trigger && guarded != nullptr && !deadline.joinable()) {
      deadline = std::thread(
          [this] { guarded->Close(TimeoutText, [this](int code) { ended_with = code; }); });
    }
  }
  std::string trigger;
  output::GuardedOutput* guarded = nullptr;
  std::thread deadline;
  std::optional<int> ended_with;
};

TEST(GuardedOutput, TheDeadlineWhileTheLastTextIsWrittenWaitsForTheEnd) {
  for (const bool listing : {false, true}) {
    DeadlineDuringWrite sink;
    output::GuardedOutput out(sink);
    sink.guarded = &out;
    sink.trigger = "[last]";
    if (listing) {
      out.OpenDocument("[head]");
    } else {
      out.HoldDocument();
    }
    out.Write("[text]");
    out.End("[last]", 0);
    ASSERT_TRUE(sink.deadline.joinable()) << listing;
    sink.deadline.join();
    EXPECT_EQ(sink.text(), listing ? "[head][text][last]" : "[text][last]") << listing;
    EXPECT_EQ(sink.ended_with, 0) << listing;
  }
}

}  // namespace
