// What the classic steps need in a test: the scripted library, an open
// connection's handle, the trace lines and the structure types (StepRun);
// or a whole run on the classic library over the scripted one, with its two
// captured streams (TestRun). Plus a way into a scratch directory for the
// code that works in the current directory.
#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "driver/run_services.h"
#include "driver/run_state.h"
#include "rfc/classic_backend.h"
#include "rfc/remote_call.h"
#include "tests/rfc/fake_rfc_library.h"

namespace rfc {
// Readable step results in test messages.
inline void PrintTo(const RemoteFailure& f, std::ostream* os) {
  *os << "RemoteFailure{" << f.code << ", '" << f.exception << "', '" << f.message << "'"
      << (f.trace_file_missing ? ", no trace file" : "") << "}";
}
inline void PrintTo(const LibraryFailure& f, std::ostream* os) {
  *os << "LibraryFailure{'" << f.operation << "', '" << f.key << "', '" << f.status << "', '"
      << f.message << "', '" << f.internal_status << "'}";
}
inline void PrintTo(const SystemInfo& i, std::ostream* os) {
  *os << "SystemInfo{'" << i.database_system << "', '" << i.host << "'}";
}
inline void PrintTo(const ProbeAnswer&, std::ostream* os) { *os << "ProbeAnswer"; }
inline void PrintTo(const FillingRead& r, std::ostream* os) {
  *os << "FillingRead{" << r.rows << "}";
}
}  // namespace rfc

struct TestRun {
  RunState run;
  fake::FakeRfcLibrary rfc;
  rfc::classic::ClassicSapLibrary library{rfc};
  StringSink out;
  StringSink err;
  RunServices services{library, out, err};
};

// One step on the connection `handle` of the scripted library; the trace
// lines it writes are collected in `trace_lines`.
struct StepRun {
  StepRun() = default;
  StepRun(const StepRun&) = delete;
  StepRun& operator=(const StepRun&) = delete;

  fake::FakeRfcLibrary rfc;
  RfcHandle handle = 7;
  std::string trace_lines;
  rfc::TraceWriter trace = [this](std::string_view line) { trace_lines.append(line); };
  rfc::StructureTypes types;

  rfc::StepContext Step() { return rfc::StepContext{rfc, handle, trace, types}; }
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
