// Shared set-up for the engine tests: an engine over a landscape given as
// JSON text, with its trace, destination and record files in a scratch
// directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rfcsim/engine.h"
// GCC 12 at -O3 (the Windows build) takes a string concatenation in this
// header for an overlapping copy; a known false -Wrestrict.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#include "tests/support/scratch_dir.h"
#pragma GCC diagnostic pop
#include "tests/rfcsim/two_systems.h"

namespace rfcsim::testing {

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class EngineTest : public ::testing::Test {
 protected:
  // Replaces the engine by one over `landscape_json`, which must load.
  void UseLandscape(const std::string& landscape_json) {
    LandscapeLoad load = ParseLandscape(landscape_json, "test landscape");
    ASSERT_EQ(load.problem, "");
    engine_ = std::make_unique<Engine>(std::move(load.landscape),
                                       EngineFiles{TracePath(), IniPath(), RecordPath()});
  }

  std::string TracePath() const { return scratch_.path() + "/Dev_Rfc.Trc"; }
  std::string IniPath() const { return scratch_.path() + "/SapRfc.ini"; }
  std::string RecordPath() const { return scratch_.path() + "/record.jsonl"; }

  std::vector<nlohmann::json> RecordLines() const {
    std::vector<nlohmann::json> lines;
    for (const std::string& line : ReadLines(RecordPath())) {
      lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
  }

  // The operations recorded, in order.
  std::vector<std::string> Ops() const {
    std::vector<std::string> ops;
    for (const auto& line : RecordLines()) ops.push_back(line.at("op"));
    return ops;
  }

  // The record lines of one operation.
  std::vector<nlohmann::json> Recorded(const std::string& op) const {
    std::vector<nlohmann::json> lines;
    for (const auto& line : RecordLines()) {
      if (line.at("op") == op) lines.push_back(line);
    }
    return lines;
  }

  // Logs on to an application server as MONITOR/secret in client 100.
  RFC_HANDLE OpenServer(const char* host, int sysnr, const char* user = "MONITOR     ",
                        const char* password = "secret    ", const char* client = "100") {
    RFC_CONNOPT_R3ONLY server{host, sysnr, nullptr, nullptr};
    RFC_OPTIONS options{"PRD", RFC_MODE_R3ONLY, &server, client, user, password, "E", 0};
    return engine_->Open(&options);
  }

  // Calls GET_CPU_ALL as the sensor does, into a fresh TF_CPU_ALL table
  // (left for the test to read and delete).
  struct CpuCall {
    int call_result = -1;
    int receive_result = -1;  // -1: not received
    char* exception = nullptr;
    ITAB_H table = nullptr;
  };
  CpuCall CallCpu(RFC_HANDLE handle) {
    CpuCall call;
    if (!cpu_type_) engine_->InstallStructure("CPU_ALL", nullptr, 0, &cpu_type_);
    call.table = engine_->CreateTable("TF_CPU_ALL", 48, 0, 0);
    char local[] = "LOCAL ";
    RFC_PARAMETER exporting[] = {{"LOCAL_REMOTE", 12, RFCTYPE_CHAR, 6, local}, {}};
    RFC_TABLE tables[] = {{"TF_CPU_ALL", 10, cpu_type_, 48, call.table, RFC_ITMODE_BYREFERENCE, 0},
                          {}};
    call.call_result = engine_->Call(handle, "GET_CPU_ALL", exporting, tables);
    if (call.call_result != 0) return call;
    RFC_PARAMETER importing[] = {{}};
    call.receive_result = engine_->Receive(handle, importing, tables, &call.exception);
    return call;
  }

  ScratchDir scratch_;
  std::unique_ptr<Engine> engine_;
  RFC_TYPEHANDLE cpu_type_ = 0;
};

}  // namespace rfcsim::testing
