// Failed steps through the NetWeaver backend: the classic return code and
// exception of each NetWeaver failure, and a failure text identical to the
// one the sensor has always composed from its reading of the trace file.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/file_names.h"
#include "tests/rfc/netweaver/backend_fixture.h"

namespace {

using fake_nw::Error;

TEST(NetWeaverFailures, ClassicCodeAndExceptionOfEachFailure) {
  struct Case {
    const char* what;
    ::nw::RFC_ERROR_INFO error;
    bool module_missing;
    rfc::RemoteFailure failure;
  };
  const std::vector<Case> cases = {
      {"ABAP exception",
       Error(::nw::RFC_ABAP_EXCEPTION, ::nw::ABAP_APPLICATION_FAILURE, u"NOT_ACTIVE",
             u"collector not active"),
       false,
       {2, "NOT_ACTIVE", "collector not active"}},
      {"module not found",
       Error(::nw::RFC_ABAP_EXCEPTION, ::nw::ABAP_APPLICATION_FAILURE, u"FU_NOT_FOUND",
             u"ID:FL Type:E Number:046 GET_CPU_ALL"),
       true,
       {2, "FU_NOT_FOUND", "ID:FL Type:E Number:046 GET_CPU_ALL"}},
      {"runtime failure",
       Error(::nw::RFC_ABAP_RUNTIME_FAILURE, ::nw::ABAP_RUNTIME_FAILURE, u"SYSTEM_FAILURE",
             u"Gr\u00f6\u00dfe \u20ac division by zero"),
       false,
       {3, "SYSTEM_FAILURE",
        "Gr\xf6\xdf"
        "e ? division by zero"}},
      {"ABAP message",
       Error(::nw::RFC_ABAP_MESSAGE, ::nw::ABAP_RUNTIME_FAILURE, u"MESSAGE_TYPE_X",
             u"message raised"),
       false,
       {3, "MESSAGE_TYPE_X", "message raised"}},
      {"communication failure",
       Error(::nw::RFC_COMMUNICATION_FAILURE, ::nw::COMMUNICATION_FAILURE,
             u"RFC_COMMUNICATION_FAILURE", u"connection to partner broken"),
       false,
       {1, "", "connection to partner broken"}},
      {"closed",
       Error(::nw::RFC_CLOSED, ::nw::COMMUNICATION_FAILURE, u"RFC_CLOSED", u"closed"),
       false,
       {1, "", "closed"}},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    if (c.module_missing) {
      fake_nw::ThePartner().missing_module_error = c.error;
    } else {
      fake_nw::Module module;
      module.invoke_error = c.error;
      fake_nw::ThePartner().modules[u"GET_CPU_ALL"] = module;
    }
    EXPECT_EQ(backend.Connect()->Probe(), rfc::StepResult<rfc::ProbeAnswer>(c.failure)) << c.what;
    EXPECT_EQ(fake_nw::ThePartner().live_functions, 0) << c.what;
  }
}

// Where the trace file's reading differs from the message itself (a long
// message read in pieces, line breaks, no block written at all), the value
// gives the text the reading gives.
TEST(NetWeaverFailures, FailureTextAsTheTraceFileReadingGaveIt) {
  struct Case {
    const char* what;
    std::u16string message;
    std::optional<std::string> earlier_trace;  // none: no trace file
    std::string diagnosis;
    bool trace_is_a_directory = false;
  };
  const std::u16string a87(87, u'a');
  const std::string disk_full =
      "**** ERROR file opened at 20240501 120000\nLOCATION    sapprd01\nERROR       disk full\n\n";
  const std::vector<Case> cases = {
      {"message", u"collector not active", std::nullopt, " - collector not active"},
      {"after an earlier block", u"collector not active", disk_full, " - collector not active"},
      {"after a trace without its last line end", u"collector not active", "ERROR       older",
       " - collector not active"},
      {"one piece exactly", a87, std::nullopt, " - " + std::string(87, 'a')},
      {"cut at the first piece", a87 + u"bcd", std::nullopt, " - " + std::string(87, 'a')},
      {"second piece an ERROR line", a87 + u"ERROR       second piece", std::nullopt,
       " - second piece"},
      {"second piece a short ERROR line", a87 + u"ERROR ", std::nullopt,
       " - Please Check Trace-File !"},
      {"second piece a new record", a87 + u"**** ERROR x", std::nullopt,
       " - Please Check Trace-File !"},
      {"second piece an arrow line", a87 + u"0000001======> arrow", std::nullopt, " - arrow"},
      {"line breaks", u"first\nsecond\r\nthird\r", std::nullopt, " - first second  third "},
      {"no message, no trace file", u"", std::nullopt, " - Look for Trace-File"},
      {"no message, an earlier block", u"", disk_full, " - disk full"},
      {"no message, an empty trace file", u"", "", " - Please Check Trace-File !"},
      {"trace file cannot be written", u"collector not active", std::nullopt,
       " - Look for Trace-File", true},
  };
  for (const Case& c : cases) {
    BackendFixture backend;
    if (c.earlier_trace) WriteFile(config::file_names::kTraceFile, *c.earlier_trace);
    if (c.trace_is_a_directory) std::filesystem::create_directory(config::file_names::kTraceFile);
    fake_nw::Module module;
    module.invoke_error = Error(::nw::RFC_COMMUNICATION_FAILURE, ::nw::COMMUNICATION_FAILURE,
                                u"RFC_COMMUNICATION_FAILURE", c.message);
    fake_nw::ThePartner().modules[u"GET_CPU_ALL"] = module;

    const rfc::StepResult<rfc::ProbeAnswer> result = backend.Connect()->Probe();
    ASSERT_TRUE(std::holds_alternative<rfc::RemoteFailure>(result)) << c.what;
    const rfc::RemoteFailure& failure = std::get<rfc::RemoteFailure>(result);
    EXPECT_EQ(rfc::FailureText(failure), "Error 1014: RFC-Failure raised !" + c.diagnosis)
        << c.what;
    EXPECT_EQ(rfc::FailureText(failure), BackendFixture::ScannedFailureText(failure)) << c.what;
    if (!c.message.empty() && !c.trace_is_a_directory) {
      EXPECT_TRUE(BackendFixture::TraceFile().starts_with(c.earlier_trace.value_or("") +
                                                          "**** ERROR file opened at "))
          << c.what << ": a block of its own, appended";
    }
  }
}

}  // namespace
