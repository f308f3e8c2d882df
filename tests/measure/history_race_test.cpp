// Polls of the same profile overlapping: each replaces the history whole,
// so that whoever reads it meanwhile or afterwards finds every line whole.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "measure/filling_history.h"
#include "measure/history_file.h"
#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

using namespace std::chrono_literals;

TEST(RecordAndForecast, PollsRacingLeaveWholeHistories) {
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  constexpr int kPolls = 40;
  const std::chrono::sys_seconds start{std::chrono::sys_days{2024y / 6 / 1}};
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) {
      int failures = 0;
      for (int poll = 0; poll < kPolls; ++poll) {
        // Sizes of different lengths, so that torn lines would show.
        const std::string used = child == 0 ? std::to_string(poll) : "12345678901234567890";
        const measure::ForecastResult result = measure::RecordAndForecast(
            "PRD.P00.hst", start + std::chrono::minutes(poll * 2 + child), used, "99999", 7);
        if (result.read_problem || result.write_problem) ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }

  std::vector<int> exit_codes(children.size(), -1);
  for (std::size_t running = children.size(); running > 0;) {
    const std::string text = ReadFile("PRD.P00.hst");
    const measure::HistoryReading reading = measure::ReadHistory(text);
    EXPECT_EQ(reading.skipped_lines, 0u) << text;
    EXPECT_TRUE(text.empty() || text.back() == '\n') << text;
    for (std::size_t i = 0; i < children.size(); ++i) {
      int status = 0;
      if (exit_codes[i] == -1 && waitpid(children[i], &status, WNOHANG) == children[i]) {
        exit_codes[i] = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        --running;
      }
    }
  }
  // No poll found a problem with the history, none was kept from writing.
  EXPECT_EQ(exit_codes, (std::vector<int>{0, 0}));
  const measure::HistoryReading last = measure::ReadHistory(ReadFile("PRD.P00.hst"));
  EXPECT_EQ(last.skipped_lines, 0u);
  ASSERT_FALSE(last.samples.empty());
  EXPECT_GE(last.samples.back().time(), start + std::chrono::minutes(2 * (kPolls - 1)));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"PRD.P00.hst"});
}

}  // namespace
