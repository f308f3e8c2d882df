// Starting, watching and ending the sensor's child processes, through a
// probe program beside the test binary.
#include "platform/child_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#endif

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/installation_file.h"
#include "tests/support/scratch_dir.h"

namespace {

using namespace std::chrono_literals;
using platform::ChildEnd;
using platform::ChildLaunch;
using platform::ChildProcess;

#ifdef _WIN32
constexpr const char* kProbe = "child_probe.exe";
#else
constexpr const char* kProbe = "child_probe";
#endif

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

ChildLaunch Probe(const ScratchDir& scratch, std::vector<std::string> arguments) {
  return ChildLaunch{.program = platform::ExecutableDirectory() + kProbe,
                     .arguments = std::move(arguments),
                     .environment = {},
                     .directory = {},
                     .output_path = scratch.path() + "/out.txt",
                     .error_path = scratch.path() + "/err.txt"};
}

ChildProcess Started(const ChildLaunch& launch) {
  std::variant<ChildProcess, std::string> started = ChildProcess::Start(launch);
  if (const auto* cause = std::get_if<std::string>(&started)) {
    ADD_FAILURE() << "not started: " << *cause;
    throw std::runtime_error(*cause);
  }
  return std::move(std::get<ChildProcess>(started));
}

// Waits for the child's end, a minute at most.
ChildEnd EndOf(ChildProcess& child) {
  ChildProcess* const children[] = {&child};
  if (!platform::WaitForAny(children, std::chrono::steady_clock::now() + 60s)) {
    ADD_FAILURE() << "the child did not end within a minute";
    child.Stop();
  }
  return child.End().value_or(ChildEnd{ChildEnd::Kind::kExited, -1});
}

// Every argument arrives as it was handed over, whatever it holds; the
// child works in its directory and sees the variables set for it beside
// the parent's.
TEST(ChildProcess, HandsOverArgumentsDirectoryAndEnvironment) {
  ScratchDir scratch;
  ScratchDir directory;
  const std::vector<std::string> arguments = {"plain",          "two words",   "",
                                              R"(say "hi")",    R"(C:\path\)", R"(a\\"b)",
                                              "TIMEOUT=5 \\\\", "tab\there"};
  std::vector<std::string> handed = arguments;
  handed.insert(handed.begin(), "report");
  ChildLaunch launch = Probe(scratch, handed);
  launch.directory = directory.path();
  launch.environment = {{"CHILD_PROBE_VALUE", "set for the child"}};
  ChildProcess child = Started(launch);
  const ChildEnd end = EndOf(child);
  EXPECT_EQ(end.kind, ChildEnd::Kind::kExited);
  EXPECT_EQ(end.code, 0);

  std::string expected;
  for (const std::string& argument : arguments) expected += "arg:[" + argument + "]\n";
  expected += "cwd:" + std::filesystem::path(directory.path()).generic_string() + "\n";
  expected += "env:set for the child\n";
  std::string out = ReadFile(launch.output_path);
  std::erase(out, '\r');
  EXPECT_EQ(out, expected);
  std::string err = ReadFile(launch.error_path);
  std::erase(err, '\r');
  EXPECT_EQ(err, "to standard error\n");
}

// An exit code, a crash and a stop by the parent are told apart; a wait
// for a child still running ends at its time and names none.
TEST(ChildProcess, TellsHowItEnded) {
  ScratchDir scratch;
  ChildProcess exits = Started(Probe(scratch, {"exit", "7"}));
  const ChildEnd exited = EndOf(exits);
  EXPECT_EQ(exited.kind, ChildEnd::Kind::kExited);
  EXPECT_EQ(exited.code, 7);

  ChildProcess crashes = Started(Probe(scratch, {"crash"}));
  const ChildEnd crashed = EndOf(crashes);
  EXPECT_EQ(crashed.kind, ChildEnd::Kind::kCrashed);
#ifdef _WIN32
  EXPECT_EQ(static_cast<DWORD>(crashed.code), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
#else
  EXPECT_EQ(crashed.code, SIGSEGV);
#endif

  ChildProcess sleeps = Started(Probe(scratch, {"sleep", "60"}));
  ChildProcess* const running[] = {&sleeps};
  EXPECT_EQ(platform::WaitForAny(running, std::chrono::steady_clock::now() + 100ms), std::nullopt);
  EXPECT_EQ(sleeps.End(), std::nullopt);
  sleeps.Stop();
  ASSERT_TRUE(sleeps.End().has_value());
  EXPECT_EQ(sleeps.End()->kind, ChildEnd::Kind::kStopped);
}

// Of several children, the wait names one that has ended.
TEST(ChildProcess, WaitNamesTheChildThatEnded) {
  ScratchDir slow_files;
  ScratchDir quick_files;
  ChildProcess slow = Started(Probe(slow_files, {"sleep", "60"}));
  ChildProcess quick = Started(Probe(quick_files, {"exit", "3"}));
  ChildProcess* const children[] = {&slow, &quick};
  EXPECT_EQ(platform::WaitForAny(children, std::chrono::steady_clock::now() + 60s), 1u);
  EXPECT_EQ(quick.End()->code, 3);
  EXPECT_EQ(slow.End(), std::nullopt);
}

// A file the parent holds open, even one marked inheritable, is not the
// child's: it gets its three streams and nothing else.
TEST(ChildProcess, InheritsNoHandleButItsStreams) {
  ScratchDir scratch;
  const std::string held = scratch.path() + "/held.txt";
#ifdef _WIN32
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE file = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const auto number = static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(file));
#else
  const int file = open(held.c_str(), O_WRONLY | O_CREAT, 0600);  // no O_CLOEXEC
  ASSERT_GE(file, 0);
  const auto number = static_cast<unsigned long long>(file);
#endif
  ChildProcess child = Started(Probe(scratch, {"handle", std::to_string(number), held}));
  const ChildEnd end = EndOf(child);
#ifdef _WIN32
  CloseHandle(file);
#else
  close(file);
#endif
  EXPECT_EQ(end.kind, ChildEnd::Kind::kExited);
  EXPECT_EQ(end.code, 0) << "the child holds the parent's file " << number;
}

// No child outlives its parent: a parent that is killed (as the monitor
// kills a sensor past its timeout) takes its children with it.
TEST(ChildProcess, EndsWithItsParent) {
  ScratchDir scratch;
  const std::string survived = scratch.path() + "/survived.txt";
  ChildProcess parent = Started(Probe(scratch, {"parent", "2", survived}));
  const std::string said = scratch.path() + "/out.txt";
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (ReadFile(said).find("started") == std::string::npos && !parent.End() &&
         std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_EQ(parent.End(), std::nullopt) << "the parent ended before its child started";
  parent.Stop();
  // The child would have written its file after two seconds.
  std::this_thread::sleep_for(3s);
  EXPECT_FALSE(std::filesystem::exists(survived)) << "the child outlived its parent";
}

TEST(ChildProcess, NotStartedTellsWhy) {
  ScratchDir scratch;
  ChildLaunch launch = Probe(scratch, {});
  launch.program = scratch.path() + "/no-such-program";
  const auto started = ChildProcess::Start(launch);
  ASSERT_TRUE(std::holds_alternative<std::string>(started));
  EXPECT_THAT(std::get<std::string>(started), ::testing::HasSubstr("no-such-program"));
}

// The command line a Windows program splits back into the same arguments.
TEST(WindowsCommandLine, QuotesWhatTheRuntimeWouldSplit) {
  EXPECT_EQ(platform::WindowsCommandLine(R"(C:\Program Files\b.exe)", {"PRD", "TIMEOUT=5"}),
            R"("C:\Program Files\b.exe" PRD TIMEOUT=5)");
  EXPECT_EQ(platform::WindowsCommandLine("b", {"", "two words", R"(C:\dir\)", R"(C:\dir\x)"}),
            R"("b" "" "two words" C:\dir\ C:\dir\x)");
  EXPECT_EQ(platform::WindowsCommandLine("b", {R"(say "hi")", R"(a\"b)", R"(end\ )"}),
            R"("b" "say \"hi\"" "a\\\"b" "end\ ")");
  EXPECT_EQ(platform::WindowsCommandLine("b", {R"(dir with\)"}), R"("b" "dir with\\")");
}

}  // namespace
