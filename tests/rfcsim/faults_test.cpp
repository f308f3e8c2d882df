// Faults and delays configured in the landscape: failing results,
// exceptions, trace lines, the error handler, waits, and which system an
// operation counts for.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/rfcsim/engine_fixture.h"

namespace rfcsim::testing {
namespace {

// PRD with the given faults and delays (JSON arrays), R2S untouched.
std::string LandscapeWithFaults(const std::string& prd_faults,
                                const std::string& global_faults = "[]",
                                const std::string& prd_functions = "{}",
                                const std::string& prd_delays = "[]",
                                const std::string& global_delays = "[]") {
  return R"({"faults": )" + global_faults + R"(, "delays": )" + global_delays +
         R"(, "systems": [
    {"name": "PRD", "ashost": "sapprd01", "sysnr": 0, "faults": )" +
         prd_faults + R"(, "delays": )" + prd_delays + R"(,
     "functions": )" +
         prd_functions + R"(,
     "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}]},
    {"name": "R2S", "ashost": "sapr2s", "sysnr": 0,
     "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}]}]})";
}

class RfcsimFaults : public EngineTest {
 protected:
  std::vector<std::string> TraceLines() const { return ReadLines(TracePath()); }
};

TEST_F(RfcsimFaults, RemoteCallFaults) {
  const char* kNull = "(null)";
  const struct {
    std::string fault;
    int call_result;
    int receive_result;         // -1: not received
    const char* exception;      // kNull: a null pointer; nullptr: left as it was
    std::string trace_message;  // of the standard block
  } cases[] = {
      {R"({"operation": "RfcCall GET_CPU_ALL"})", 1, -1, nullptr,
       "simulated failure of RfcCall GET_CPU_ALL"},
      {R"({"operation": "RfcCall", "result": 7, "message": "gone"})", 7, -1, nullptr, "gone"},
      {R"({"operation": "RfcReceive GET_CPU_ALL", "result": 2, "exception": "NOT_ACTIVE"})", 0, 2,
       "NOT_ACTIVE", "simulated failure of RfcReceive GET_CPU_ALL"},
      {R"({"operation": "RfcReceive", "result": 2, "exception": ""})", 0, 2, "",
       "simulated failure of RfcReceive"},
      {R"({"operation": "RfcReceive", "result": 2})", 0, 2, "EXCEPTION_RAISED",
       "simulated failure of RfcReceive"},
      {R"({"operation": "RfcReceive", "result": 3})", 0, 3, "SYSTEM_FAILURE",
       "simulated failure of RfcReceive"},
      {R"({"operation": "RfcReceive", "result": 3, "exception": null})", 0, 3, kNull,
       "simulated failure of RfcReceive"},
      {R"({"operation": "RfcReceive", "result": -5})", 0, -5, nullptr,
       "simulated failure of RfcReceive"},
      {R"({"operation": "RfcReceive RFC_SYSTEM_INFO"})", 0, 0, nullptr, ""},
  };
  for (const auto& c : cases) {
    std::remove(TracePath().c_str());
    UseLandscape(LandscapeWithFaults("[" + c.fault + "]"));
    const RFC_HANDLE handle = OpenServer("sapprd01", 0);
    const CpuCall call = CallCpu(handle);
    EXPECT_EQ(call.call_result, c.call_result) << c.fault;
    EXPECT_EQ(call.receive_result, c.receive_result) << c.fault;
    if (c.exception == nullptr) {
      EXPECT_EQ(call.exception, nullptr) << c.fault;
    } else if (c.exception == kNull) {
      EXPECT_EQ(call.exception, nullptr) << c.fault;
    } else {
      ASSERT_NE(call.exception, nullptr) << c.fault;
      EXPECT_STREQ(call.exception, c.exception) << c.fault;
    }
    // A failed call delivers no rows.
    EXPECT_EQ(engine_->TableFill(call.table), c.receive_result == 0 ? 1u : 0u) << c.fault;
    const auto trace = TraceLines();
    if (c.trace_message.empty()) {
      EXPECT_TRUE(trace.empty()) << c.fault;
    } else {
      EXPECT_NE(std::find(trace.begin(), trace.end(), "ERROR       " + c.trace_message),
                trace.end())
          << c.fault;
    }
  }
}

TEST_F(RfcsimFaults, TraceLinesAreWrittenVerbatimOrNotAtAll) {
  UseLandscape(LandscapeWithFaults(R"([
      {"operation": "RfcCall GET_CPU_ALL", "trace": []},
      {"operation": "RfcReceive", "trace": ["**** ERROR x", "", "xxxxxxx======> msg"]}])"));
  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  ASSERT_EQ(engine_->Call(handle, "GET_CPU_ALL", nullptr, nullptr), 1);
  EXPECT_FALSE(std::filesystem::exists(TracePath()));  // no lines: no file
  ASSERT_EQ(engine_->Call(handle, "RFC_SYSTEM_INFO", nullptr, nullptr), 0);
  EXPECT_EQ(engine_->Receive(handle, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(TraceLines(), (std::vector<std::string>{"**** ERROR x", "", "xxxxxxx======> msg"}));
}

TEST_F(RfcsimFaults, SystemFaultsStayWithTheirSystemAndGlobalOnesHitAll) {
  UseLandscape(LandscapeWithFaults(R"([{"operation": "RfcCall", "result": 11}])",
                                   R"([{"operation": "RfcCall RFC_SYSTEM_INFO", "result": 22}])"));
  const RFC_HANDLE prd = OpenServer("sapprd01", 0);
  const RFC_HANDLE r2s = OpenServer("sapr2s", 0);
  EXPECT_EQ(engine_->Call(prd, "GET_CPU_ALL", nullptr, nullptr), 11);
  EXPECT_EQ(engine_->Call(prd, "RFC_SYSTEM_INFO", nullptr, nullptr), 11);  // own fault first
  EXPECT_EQ(engine_->Call(r2s, "GET_CPU_ALL", nullptr, nullptr), 0);
  EXPECT_EQ(engine_->Call(r2s, "RFC_SYSTEM_INFO", nullptr, nullptr), 22);
}

TEST_F(RfcsimFaults, TableAndStructureFaultsCountForTheSystemOfTheLatestLogon) {
  UseLandscape(LandscapeWithFaults(R"([
      {"operation": "ItCreate DEVSTAT"},
      {"operation": "RfcInstallStructure", "result": 5},
      {"operation": "ItGetLine TF_CPU_ALL", "row": 2},
      {"operation": "ItDelete TF_CPU_ALL", "result": 9}])",
                                   "[]",
                                   R"({"GET_CPU_ALL": {"tables": {"TF_CPU_ALL": [{}, {}, {}]}}})"));
  RFC_TYPEHANDLE type = 77;
  EXPECT_NE(engine_->CreateTable("DEVSTAT", 144, 0, 0), nullptr);  // before any logon
  EXPECT_EQ(engine_->InstallStructure("CPU_ALL", nullptr, 0, &type), 0);

  const CpuCall call = CallCpu(OpenServer("sapprd01", 0));
  EXPECT_EQ(engine_->CreateTable("DEVSTAT", 144, 0, 0), nullptr);
  type = 77;
  EXPECT_EQ(engine_->InstallStructure("ADA_DEVSTA", nullptr, 0, &type), 5);
  EXPECT_EQ(type, 77u);
  ASSERT_EQ(call.receive_result, 0);
  EXPECT_NE(engine_->TableLine(call.table, 1), nullptr);
  EXPECT_EQ(engine_->TableLine(call.table, 2), nullptr);
  EXPECT_NE(engine_->TableLine(call.table, 3), nullptr);
  EXPECT_EQ(engine_->DeleteTable(call.table), 9);
  EXPECT_EQ(engine_->TableFill(call.table), 3u);  // still there

  ASSERT_NE(OpenServer("sapr2s", 0), 0u);  // now the latest logon: PRD's faults are off
  EXPECT_NE(engine_->TableLine(call.table, 2), nullptr);
  EXPECT_EQ(engine_->DeleteTable(call.table), 0);
}

// The sensor's handler ends the process; this one notes what it got,
// reads the last error from inside the handler, and returns.
std::vector<std::string> handler_calls;
Engine* handler_engine = nullptr;
void DLL_CALL_BACK_FUNCTION NotingHandler(char* operation) {
  RFC_ERROR_INFO info{};
  handler_engine->LastError(&info);
  handler_calls.push_back(std::string(operation) + " | " + info.key + " | " + info.status + " | " +
                          info.message + " | " + info.intstat);
}

TEST_F(RfcsimFaults, ErrorHandlerGetsTheOperationAndTheLastErrorIsSetByThen) {
  handler_calls.clear();
  RFC_ENV environment{NotingHandler, nullptr};

  UseLandscape(LandscapeWithFaults(R"([{"operation": "RfcOpen", "error_handler": true}])"));
  handler_engine = engine_.get();
  engine_->Environment(&environment);
  EXPECT_EQ(OpenServer("sapprd01", 0), 0u);  // the handler returned: still failed
  EXPECT_NE(OpenServer("sapr2s", 0), 0u);

  UseLandscape(LandscapeWithFaults(R"([
      {"operation": "RfcCall GET_CPU_ALL", "error_handler": true,
       "last_error": {"key": "K", "status": "S", "message": "M", "internal_status": "I"}},
      {"operation": "ItCreate", "error_handler": true, "handler_text": "custom text"}])"));
  handler_engine = engine_.get();
  const RFC_HANDLE prd = OpenServer("sapprd01", 0);
  EXPECT_EQ(engine_->Call(prd, "GET_CPU_ALL", nullptr, nullptr), 1);  // no handler yet
  engine_->Environment(&environment);
  EXPECT_EQ(engine_->Call(prd, "GET_CPU_ALL", nullptr, nullptr), 1);
  EXPECT_EQ(engine_->CreateTable("TF_CPU_ALL", 48, 0, 0), nullptr);

  EXPECT_EQ(handler_calls,
            (std::vector<std::string>{
                "RfcOpen | RFC_ERROR_SYSTEM_FAILURE | simulated | simulated failure of RfcOpen | "
                "RfcOpen",
                "RfcCall GET_CPU_ALL | K | S | M | I",
                "custom text | RFC_ERROR_SYSTEM_FAILURE | simulated | simulated failure of "
                "ItCreate | ItCreate"}));
}

TEST_F(RfcsimFaults, MisuseFailsWithoutCrashing) {
  UseLandscape(kTwoSystems);
  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  char* exception = nullptr;
  EXPECT_EQ(engine_->Receive(handle, nullptr, nullptr, &exception), 1);  // nothing called
  EXPECT_EQ(engine_->Call(handle + 100, "GET_CPU_ALL", nullptr, nullptr), 1);
  EXPECT_EQ(engine_->Call(handle, nullptr, nullptr, nullptr), 1);

  // A table entry that does not describe its table is refused by RfcCall,
  // and by RfcReceive after a call that went out with a correct entry; the
  // refusal delivers no rows and leaves a trace block and the last error.
  ITAB_H table = engine_->CreateTable("TF_CPU_ALL", 48, 0, 0);
  const auto entry = [&](unsigned nlen, unsigned leng) {
    return RFC_TABLE{"TF_CPU_ALL", nlen, 0, leng, table, RFC_ITMODE_BYREFERENCE, 0};
  };
  const struct {
    RFC_TABLE entry;
    const char* problem;
  } list_cases[] = {
      {entry(9, 48), "'TF_CPU_ALL' has name length 9 for a name of 10 characters"},
      {entry(10, 0), "table 'TF_CPU_ALL' has row length 0 for rows of 48 bytes"},
      {entry(10, 47), "table 'TF_CPU_ALL' has row length 47 for rows of 48 bytes"},
      {entry(10, 49), "table 'TF_CPU_ALL' has row length 49 for rows of 48 bytes"},
  };
  const auto last_message = [&] {
    RFC_ERROR_INFO info{};
    engine_->LastError(&info);
    return std::string(info.message);
  };
  const auto last_trace_line = [&] {
    const auto trace = TraceLines();
    const auto error = std::find_if(trace.rbegin(), trace.rend(), [](const std::string& line) {
      return line.rfind("ERROR       ", 0) == 0;
    });
    return error == trace.rend() ? std::string() : error->substr(12);
  };
  for (const auto& c : list_cases) {
    RFC_TABLE bad[] = {c.entry, {}};
    EXPECT_EQ(engine_->Call(handle, "GET_CPU_ALL", nullptr, bad), 1) << c.problem;
    EXPECT_EQ(last_message(), c.problem);
    EXPECT_EQ(last_trace_line(), c.problem);

    RFC_TABLE good[] = {entry(10, 48), {}};
    ASSERT_EQ(engine_->Call(handle, "GET_CPU_ALL", nullptr, good), 0) << c.problem;
    EXPECT_EQ(engine_->Receive(handle, nullptr, bad, &exception), 1) << c.problem;
    EXPECT_EQ(last_message(), c.problem);
    EXPECT_EQ(last_trace_line(), c.problem);
    EXPECT_EQ(engine_->TableFill(table), 0u) << c.problem;
  }

  ASSERT_EQ(engine_->DeleteTable(table), 0);
  RFC_TABLE deleted[] = {entry(10, 48), {}};
  EXPECT_EQ(engine_->Call(handle, "GET_CPU_ALL", nullptr, deleted), 1);
  EXPECT_EQ(engine_->Receive(handle, nullptr, deleted, &exception), 1);  // the call failed
  EXPECT_EQ(exception, nullptr);
}

// How a process that a crashing library ended shows to its parent.
#if defined(_WIN32)
const ::testing::ExitedWithCode kCrashed(static_cast<int>(0xC0000005));  // access violation
#else
const ::testing::KilledBySignal kCrashed(SIGSEGV);
#endif

// A crashing fault ends the process where its operation would fail: a
// logon, an answer, one row of a table. Operations it does not name go on.
TEST_F(RfcsimFaults, CrashEndsTheProcessAtTheOperationItNames) {
  UseLandscape(LandscapeWithFaults(R"([{"operation": "RfcOpen", "crash": true}])"));
  EXPECT_NE(OpenServer("sapr2s", 0), 0u);
  EXPECT_EXIT(OpenServer("sapprd01", 0), kCrashed, "");

  UseLandscape(LandscapeWithFaults(R"([{"operation": "RfcReceive GET_CPU_ALL", "crash": true}])"));
  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  EXPECT_EQ(engine_->Call(handle, "RFC_SYSTEM_INFO", nullptr, nullptr), 0);
  EXPECT_EQ(engine_->Receive(handle, nullptr, nullptr, nullptr), 0);
  EXPECT_EXIT(CallCpu(handle), kCrashed, "");

  UseLandscape(LandscapeWithFaults(
      R"([{"operation": "ItGetLine TF_CPU_ALL", "row": 2, "crash": true}])", "[]",
      R"({"GET_CPU_ALL": {"tables": {"TF_CPU_ALL": [{"TYPE": 1}, {"TYPE": 2}]}}})"));
  const CpuCall call = CallCpu(OpenServer("sapprd01", 0));
  ASSERT_EQ(engine_->TableFill(call.table), 2u);
  EXPECT_NE(engine_->TableLine(call.table, 1), nullptr);
  EXPECT_EXIT(engine_->TableLine(call.table, 2), kCrashed, "");
}

TEST_F(RfcsimFaults, InternalTableBounds) {
  UseLandscape(kTwoSystems);
  const CpuCall call = CallCpu(OpenServer("sapprd01", 0));
  ASSERT_EQ(engine_->TableFill(call.table), 1u);  // the default row
  EXPECT_EQ(engine_->TableLine(call.table, 0), nullptr);
  EXPECT_NE(engine_->TableLine(call.table, 1), nullptr);
  EXPECT_EQ(engine_->TableLine(call.table, 2), nullptr);
  EXPECT_EQ(engine_->TableLine(call.table, 0xFFFFFFFFu), nullptr);
  EXPECT_EQ(engine_->DeleteTable(call.table), 0);
  EXPECT_EQ(engine_->DeleteTable(call.table), 1);  // once only
  EXPECT_EQ(engine_->TableFill(call.table), 0u);
  EXPECT_EQ(engine_->TableLine(call.table, 1), nullptr);
  EXPECT_EQ(engine_->DeleteTable(nullptr), 1);
  EXPECT_EQ(engine_->CreateTable("EMPTY", 0, 0, 0), nullptr);
  EXPECT_EQ(engine_->CreateTable("HUGE", 0xFFFFFFFFu, 0, 0), nullptr);
}

TEST_F(RfcsimFaults, LatencyDelaysEveryRoundTrip) {
  UseLandscape(R"({"systems": [{"name": "PRD", "ashost": "sapprd01", "latency_ms": 40,
      "accounts": [{"client": "100", "user": "MONITOR", "password": "secret"}]}]})");
  const auto start = std::chrono::steady_clock::now();
  const RFC_HANDLE handle = OpenServer("sapprd01", 0);
  CallCpu(handle);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
}

// Which delay an operation runs into, if any: the system's own first, then
// the landscape-wide ones, the first match of each list.
TEST(RfcsimFindDelay, FirstMatchOfTheSystemsOwnThenOfTheLandscapeWide) {
  const LandscapeLoad load = ParseLandscape(R"({
    "delays": [{"operation": "RfcCall", "seconds": 3}, {"operation": "RfcOpenEx", "seconds": 4}],
    "systems": [{"name": "PRD", "ashost": "sapprd01", "delays": [
      {"operation": "RfcReceive GET_CPU_ALL", "seconds": 0.25},
      {"operation": "RfcReceive", "seconds": 1},
      {"operation": "RfcCall RFC_SYSTEM_INFO", "seconds": 2},
      {"operation": "ItGetLine DEVSTAT", "seconds": 0}]}]})",
                                            "test landscape");
  ASSERT_EQ(load.problem, "");
  const SystemModel* prd = &load.landscape.systems.at(0);
  using std::chrono::milliseconds;
  const struct {
    const SystemModel* system;
    Operation operation;
    std::optional<milliseconds> wait;  // nullopt: not delayed
  } cases[] = {
      {prd, {"RfcReceive", "GET_CPU_ALL"}, milliseconds(250)},
      {prd, {"RfcReceive", "RFC_SYSTEM_INFO"}, milliseconds(1000)},
      {prd, {"RfcCall", "RFC_SYSTEM_INFO"}, milliseconds(2000)},
      {prd, {"RfcCall", "GET_CPU_ALL"}, milliseconds(3000)},
      {nullptr, {"RfcCall", "RFC_SYSTEM_INFO"}, milliseconds(3000)},
      {nullptr, {"RfcReceive", "GET_CPU_ALL"}, std::nullopt},
      {prd, {"RfcOpen", ""}, std::nullopt},
      {nullptr, {"RfcOpenEx", ""}, milliseconds(4000)},
      {prd, {"ItGetLine", "DEVSTAT", 2u}, milliseconds(0)},
      {prd, {"ItGetLine", "DEVSP_HIST", 1u}, std::nullopt},
      {prd, {"ItCreate", "DEVSTAT"}, std::nullopt},
  };
  for (const auto& c : cases) {
    const Delay* delay = FindDelay(load.landscape, c.system, c.operation);
    const std::string label = c.operation.Text() + (c.system ? " on PRD" : " on no system");
    ASSERT_EQ(delay != nullptr, c.wait.has_value()) << label;
    if (delay) {
      EXPECT_EQ(delay->wait, *c.wait) << label;
    }
  }
}

// A delayed operation waits, then goes on as it would: a matching fault
// still applies. Only a lower bound of the wait is checked; the logoff is
// timed too.
TEST_F(RfcsimFaults, DelaysWaitThenGoOnAsTheyWould) {
  const struct {
    std::string delays;         // PRD's own
    std::string global_delays;  // landscape-wide
    std::string faults;         // PRD's
    bool logged_on;
    int call_result;
    int receive_result;  // -1: not received
  } cases[] = {
      {R"([{"operation": "RfcOpen", "seconds": 0.2}])", "[]", "[]", true, 0, 0},
      {R"([{"operation": "RfcOpen", "seconds": 0.2}])", "[]", R"([{"operation": "RfcOpen"}])",
       false, 1, -1},
      {R"([{"operation": "RfcReceive GET_CPU_ALL", "seconds": 0.2}])", "[]",
       R"([{"operation": "RfcReceive GET_CPU_ALL", "result": 2}])", true, 0, 2},
      {"[]", R"([{"operation": "RfcCall", "seconds": 0.2}])",
       R"([{"operation": "RfcCall", "result": 7}])", true, 7, -1},
      {R"([{"operation": "ItCreate TF_CPU_ALL", "seconds": 0.2}])", "[]", "[]", true, 0, 0},
      {"[]", R"([{"operation": "RfcClose", "seconds": 0.2}])", "[]", true, 0, 0},
  };
  for (const auto& c : cases) {
    const std::string label = c.delays + c.global_delays + c.faults;
    UseLandscape(LandscapeWithFaults(c.faults, "[]", "{}", c.delays, c.global_delays));
    const auto start = std::chrono::steady_clock::now();
    const RFC_HANDLE handle = OpenServer("sapprd01", 0);
    const CpuCall call = CallCpu(handle);
    engine_->Close(handle);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200)) << label;
    EXPECT_EQ(handle != 0, c.logged_on) << label;
    EXPECT_EQ(call.call_result, c.call_result) << label;
    EXPECT_EQ(call.receive_result, c.receive_result) << label;
  }
}

}  // namespace
}  // namespace rfcsim::testing
