// The sensor's steps on the classic library: logon, the connection and its
// closing, the structures and records one library keeps for every opening,
// and the library's error handler.
#include "rfc/classic_backend.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "tests/rfc/test_run.h"
#include "tests/support/scratch_dir.h"

namespace {

rfc::AddressLogon SampleLogon() {
  return {"PRD", "100", "MONITOR", "secret", "E", "R/3", "sapprd", "00", "gw1", "sapgw00"};
}

struct Classic {
  fake::FakeRfcLibrary rfc;
  rfc::classic::ClassicSapLibrary library{rfc};
  std::string trace_lines;
  rfc::TraceWriter trace = [this](std::string_view line) { trace_lines.append(line); };

  Classic() = default;
  Classic(const Classic&) = delete;
  Classic& operator=(const Classic&) = delete;

  std::unique_ptr<rfc::SapConnection> Open() { return library.Open(SampleLogon(), trace); }
};

TEST(ClassicSapLibrary, StepsRunOnTheOpenedConnection) {
  Classic c;
  c.rfc.open_handle = 12;
  std::string rfcsi(200, ' ');
  rfcsi.replace(101, 8, "ADABAS D");
  c.rfc.importing_answer["RFCSI_EXPORT"] = rfcsi;
  const std::unique_ptr<rfc::SapConnection> connection = c.Open();
  ASSERT_NE(connection, nullptr);

  EXPECT_TRUE(std::holds_alternative<rfc::ProbeAnswer>(connection->Probe()));
  const rfc::StepResult<rfc::SystemInfo> info = connection->ReadSystemInfo();
  ASSERT_TRUE(std::holds_alternative<rfc::SystemInfo>(info));
  EXPECT_EQ(std::get<rfc::SystemInfo>(info).database_system, "ADABAS D  ");
  EXPECT_TRUE(
      std::holds_alternative<rfc::FillingRead>(connection->ReadFilling([](const FillingRow&) {})));

  ASSERT_EQ(c.rfc.calls.size(), 3u);
  for (const fake::RemoteCall& call : c.rfc.calls) EXPECT_EQ(call.handle, 12u) << call.function;
  const std::string step = "12 RfcCall called \n12 RfcReceive called \n";
  EXPECT_EQ(c.trace_lines, "12 RfcOpen called \n" + step + step + step);
}

TEST(ClassicSapLibrary, NoConnectionWhenTheLibraryOpensNone) {
  Classic c;
  c.rfc.open_handle = 0;
  EXPECT_EQ(c.Open(), nullptr);
  // Nothing to close.
  EXPECT_EQ(c.rfc.log, std::vector<std::string>{"RfcOpen"});
  EXPECT_EQ(c.trace_lines, "0 RfcOpen called \n");
}

TEST(ClassicSapLibrary, TheConnectionClosesWhenDestroyedUnlessTheLibraryFailed) {
  struct Case {
    const char* what;
    void (*script)(fake::FakeRfcLibrary&);
    bool probe;
    bool closed;
  };
  const std::vector<Case> cases = {
      {"no step", [](fake::FakeRfcLibrary&) {}, false, true},
      {"a step answered", [](fake::FakeRfcLibrary&) {}, true, true},
      {"a step failed remotely",
       [](fake::FakeRfcLibrary& r) { r.receive_result["GET_CPU_ALL"] = 1; }, true, true},
      {"the library failed",
       [](fake::FakeRfcLibrary& r) { r.failing_structures.insert("CPU_ALL"); }, true, false},
  };
  ScratchDir scratch;
  WorkingDirectory in(scratch.path());
  for (const Case& k : cases) {
    Classic c;
    k.script(c.rfc);
    std::unique_ptr<rfc::SapConnection> connection = c.Open();
    ASSERT_NE(connection, nullptr) << k.what;
    if (k.probe) connection->Probe();
    EXPECT_EQ(c.rfc.Count("RfcClose 7"), 0) << k.what;
    connection.reset();
    EXPECT_EQ(c.rfc.Count("RfcClose 7"), k.closed ? 1 : 0) << k.what;
    if (!k.closed) {
      // The last error was read at the failure; the library is asked
      // nothing after it.
      EXPECT_EQ(c.rfc.log.back(), "RfcClose 0") << k.what;
    }
  }
}

TEST(ClassicSapLibrary, StructuresInstalledOnceForEveryConnection) {
  Classic c;
  for (int opening = 0; opening < 2; ++opening) {
    const std::unique_ptr<rfc::SapConnection> connection = c.Open();
    ASSERT_NE(connection, nullptr);
    connection->Probe();
    connection->ReadSystemInfo();
    connection->ReadFilling([](const FillingRow&) {});
  }
  for (const char* structure : {"CPU_ALL", "RFCSI", "ADA_DBHIST", "ADA_DEVSTA"}) {
    EXPECT_EQ(c.rfc.Count(std::string("RfcInstallStructure ") + structure), 1) << structure;
  }
  ASSERT_EQ(c.rfc.calls.size(), 6u);
  EXPECT_EQ(c.rfc.calls[3].tables, c.rfc.calls[0].tables);
  EXPECT_EQ(c.rfc.calls[5].tables, c.rfc.calls[2].tables);
}

TEST(ClassicSapLibrary, RecordsOutliveTheOpeningAndEveryOpeningRewritesThem) {
  Classic c;
  const std::unique_ptr<rfc::SapConnection> first = c.Open();
  // The library may keep the pointers: they must still lead somewhere.
  const OpenOptions* kept = c.rfc.open_options;
  EXPECT_STREQ(kept->user, "MONITOR     ");
  EXPECT_STREQ(kept->password, "secret    ");

  rfc::AddressLogon other = SampleLogon();
  other.password = "other";
  const std::unique_ptr<rfc::SapConnection> second = c.library.Open(other, c.trace);
  EXPECT_EQ(c.rfc.open_options, kept);
  EXPECT_STREQ(kept->password, "other     ");
}

TEST(ClassicSapLibrary, PrepareErrorReportHandsTheHandlerToTheLibrary) {
  Classic c;
  c.library.PrepareErrorReport([](const rfc::LibraryFailure&) {});
  EXPECT_EQ(c.rfc.log, std::vector<std::string>{"RfcEnvironment"});
  EXPECT_NE(c.rfc.error_handler, nullptr);
}

// Calls the handler the library was given. The report writes what it got
// and the operations the library had seen by then to standard error, where
// the death test can see them, and returns: the handler must end the
// process all the same.
void RunHandler(const char* operation) {
  static Classic c;
  std::memcpy(c.rfc.last_error.key, "KEY-17", 7);
  c.library.PrepareErrorReport([](const rfc::LibraryFailure& failure) {
    std::string seen;
    for (const std::string& entry : c.rfc.log) seen += entry + ",";
    std::fprintf(stderr, "operation=%s key=%s log=%s\n", failure.operation.c_str(),
                 failure.key.c_str(), seen.c_str());
  });
  std::string text = operation != nullptr ? operation : "";
  c.rfc.error_handler(operation != nullptr ? text.data() : nullptr);
}

TEST(ClassicSapLibraryDeathTest, TheHandlerReportsTheLastErrorAndExitsWithOne) {
  EXPECT_EXIT(RunHandler("RfcOpen"), testing::ExitedWithCode(1),
              "operation=RfcOpen key=KEY-17 log=RfcEnvironment,RfcLastError,RfcClose 0,");
  EXPECT_EXIT(RunHandler(nullptr), testing::ExitedWithCode(1), "operation= key=KEY-17");
}

void RunHandlerOfADestroyedLibrary() {
  fake::FakeRfcLibrary rfc;
  {
    rfc::classic::ClassicSapLibrary library(rfc);
    library.PrepareErrorReport(
        [](const rfc::LibraryFailure&) { std::fprintf(stderr, "reported\n"); });
  }
  char operation[] = "RfcOpen";
  rfc.error_handler(operation);
}

TEST(ClassicSapLibraryDeathTest, AHandlerWhoseLibraryIsGoneExitsWithOneAndReportsNothing) {
  EXPECT_EXIT(RunHandlerOfADestroyedLibrary(), testing::ExitedWithCode(1), "^$");
}

}  // namespace
