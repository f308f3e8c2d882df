// Shared set-up for the NetWeaver stand-in's tests: the process-wide
// simulator over a landscape given as JSON text, its record in a scratch
// directory, and small helpers that call the library's C functions as the
// sensor's adapter does.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rfcsim/nw/sapnwrfc_api.h"
#include "rfcsim/nw/simulator.h"
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#include "tests/support/scratch_dir.h"
#pragma GCC diagnostic pop
#include "tests/rfcsim/two_systems.h"

namespace rfcsim::nw::testing {

using rfcsim::testing::kTwoSystems;

inline std::u16string U(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

inline std::string Narrow(std::u16string_view text) {
  std::string ascii;
  for (const char16_t unit : text) ascii.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return ascii;
}

inline std::string KeyOf(const RFC_ERROR_INFO& error) { return Narrow(error.key); }
inline std::string MessageOf(const RFC_ERROR_INFO& error) { return Narrow(error.message); }

class NwTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (RFC_FUNCTION_HANDLE function : functions_) RfcDestroyFunction(function, nullptr);
    InstallProcessSimulator(nullptr);
  }

  // Replaces the process-wide simulator by one over `landscape_json`,
  // which must load.
  void UseLandscape(const std::string& landscape_json) {
    NwLandscapeLoad load = ParseNwLandscape(landscape_json, "test landscape");
    ASSERT_EQ(load.problem, "");
    InstallProcessSimulator(std::make_unique<Simulator>(std::move(load), RecordPath()));
  }

  std::string RecordPath() const { return scratch_.path() + "/record.jsonl"; }

  std::vector<std::string> RecordedOps() const {
    std::vector<std::string> ops;
    std::ifstream file(RecordPath());
    for (std::string line; std::getline(file, line);) {
      ops.push_back(nlohmann::json::parse(line).at("op"));
    }
    return ops;
  }

  // Logs on with the given parameters (name, value pairs).
  RFC_CONNECTION_HANDLE Open(const std::vector<std::pair<std::string, std::string>>& given,
                             RFC_ERROR_INFO& error) {
    std::vector<std::u16string> texts;
    texts.reserve(2 * given.size());
    std::vector<RFC_CONNECTION_PARAMETER> parameters;
    for (const auto& [name, value] : given) {
      texts.push_back(U(name));
      const SAP_UC* name_text = texts.back().c_str();
      texts.push_back(U(value));
      parameters.push_back({name_text, texts.back().c_str()});
    }
    return RfcOpenConnection(parameters.data(), static_cast<unsigned>(parameters.size()), &error);
  }

  // MONITOR/secret in client 100 at sapprd01, system number 00.
  RFC_CONNECTION_HANDLE OpenServer() {
    RFC_ERROR_INFO error{};
    RFC_CONNECTION_HANDLE connection = Open({{"ashost", "sapprd01"},
                                             {"sysnr", "00"},
                                             {"client", "100"},
                                             {"user", "MONITOR"},
                                             {"passwd", "secret"},
                                             {"lang", "E"}},
                                            error);
    EXPECT_NE(connection, nullptr) << MessageOf(error);
    return connection;
  }

  // A fresh container of `module` (destroyed at the end of the test).
  RFC_FUNCTION_HANDLE CreateFunction(RFC_CONNECTION_HANDLE connection, const std::string& module) {
    RFC_ERROR_INFO error{};
    RFC_FUNCTION_DESC_HANDLE desc = RfcGetFunctionDesc(connection, U(module).c_str(), &error);
    EXPECT_NE(desc, nullptr) << MessageOf(error);
    RFC_FUNCTION_HANDLE function = RfcCreateFunction(desc, &error);
    EXPECT_NE(function, nullptr) << MessageOf(error);
    functions_.push_back(function);
    return function;
  }

  // Logs on to PRD and invokes `module`; the container holds the answer.
  RFC_FUNCTION_HANDLE InvokeOnServer(const std::string& module, RFC_RC expected = RFC_OK) {
    RFC_CONNECTION_HANDLE connection = OpenServer();
    RFC_FUNCTION_HANDLE function = CreateFunction(connection, module);
    RFC_ERROR_INFO error{};
    EXPECT_EQ(RfcInvoke(connection, function, &error), expected) << MessageOf(error);
    last_error_ = error;
    return function;
  }

  // The text RfcGetString hands out for field `name` of `container`.
  static std::u16string String(DATA_CONTAINER_HANDLE container, const std::string& name) {
    SAP_UC buffer[64];
    unsigned length = 0;
    RFC_ERROR_INFO error{};
    EXPECT_EQ(RfcGetString(container, U(name).c_str(), buffer, 64, &length, &error), RFC_OK)
        << name << ": " << MessageOf(error);
    return std::u16string(buffer, length);
  }

  // Row `row` of table `name` of `container`.
  static RFC_STRUCTURE_HANDLE Row(DATA_CONTAINER_HANDLE container, const std::string& name,
                                  unsigned row) {
    RFC_TABLE_HANDLE table = nullptr;
    EXPECT_EQ(RfcGetTable(container, U(name).c_str(), &table, nullptr), RFC_OK);
    EXPECT_EQ(RfcMoveTo(table, row, nullptr), RFC_OK);
    return RfcGetCurrentRow(table, nullptr);
  }

  ScratchDir scratch_;
  std::vector<RFC_FUNCTION_HANDLE> functions_;
  RFC_ERROR_INFO last_error_{};
};

}  // namespace rfcsim::nw::testing
