// What a remote step needs in a test: the run's state, the scripted library
// and the two captured streams; plus a way into a scratch directory for the
// code that works in the current directory.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "include/run_services.h"
#include "include/run_state.h"
#include "tests/rfc/fake_rfc_library.h"

struct TestRun {
  RunState run;
  fake::FakeRfcLibrary rfc;
  StringSink out;
  StringSink err;
  RunServices services{rfc, out, err};

  TestRun() { run.ConnectionHandle = 7; }
};

// Name, type and length of each parameter of a list; a name length that
// differs from the name's shows as a name with "(length N)" appended.
using ParameterShape = std::tuple<std::string, unsigned, unsigned>;
inline std::vector<ParameterShape> Shapes(const std::vector<fake::Parameter>& parameters) {
  std::vector<ParameterShape> shapes;
  for (const fake::Parameter& p : parameters) {
    std::string name = p.name;
    if (p.name_length != name.size()) name += " (length " + std::to_string(p.name_length) + ")";
    shapes.emplace_back(name, p.type, p.length);
  }
  return shapes;
}

// Makes `path` the working directory for the life of the object.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
