// What the scenarios of a single-system run share: profiles written the way
// the profile tool writes them, the simulated SAP system behind the library,
// PRTG's layout of the sensor directory, and the documents and reports the
// sensor is expected to print.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/e2e/scenario.h"

namespace e2e {

using nlohmann::json;

// PRTG installed below D:\PRTG; it starts its sensors in their directory.
inline constexpr std::string_view kPrtgPathFile = "C:\\PRTG_Path.Txt";
inline constexpr std::string_view kSensorDirectory =
    "D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml";

// The monitoring account of the simulated system PRD. The password is long
// and odd enough that no other text of a run contains it by chance.
inline constexpr std::string_view kPassword = "Kw9tide4";
inline constexpr std::string_view kTraceFile = "Dev_Rfc.Trc";

// The settings of a profile file, as an operator fills them in.
struct ProfileSettings {
  std::string extcompany = "ACME Monitoring";
  std::string destination = "PRD";
  std::string client = "100";
  std::string user = "monitor";
  std::string password = std::string(kPassword);  // plain: scrambled when written
  std::string language = "E";
  std::string mode = "R/3";
  std::string hostname = "sapprd01";
  std::string sysnr = "00";
  std::string gwhost = "sapprd01";
  std::string gwservice = "sapgw00";
};

// `password` scrambled with the sensor's key, as the profile tool does it.
std::string Scrambled(std::string_view password);

// One profile line: the twelve-character label, a blank, the value.
std::string ProfileLine(std::string_view label, std::string_view value);

// A profile file of the eleven labelled lines in their usual order, after a
// comment line, each ended by `line_end` (Windows editors write CR LF).
std::string ProfileText(const ProfileSettings& settings, std::string_view line_end = "\r\n");

// The nine values of a DEVSTAT row as rfcsim takes them (sizes as integers
// or packed hexadecimal texts, per-cent fields as integers).
json DevstatRow(json conf_size, json pag, json pagesx, json perm_used, json permx_used,
                json temp_used, json tempx_used, json un_used, json unx_used);

// The row of the usual example: 5000 configured, 37 % used, 63 % free.
json ExampleRow();

// The system PRD on sapprd01, system number 00, with the monitoring account
// (client 100, user MONITOR) and one DEVSTAT row, ExampleRow().
json PrdSystem();
// The system with these rows of DEVSTAT instead (an array).
json WithDevstat(json system, json rows);
// The system answering RFC_SYSTEM_INFO with this RFCDBSYS (a text or hex).
json WithDatabaseSystem(json system, json rfcdbsys);
// The system with these faults of its own (an array).
json WithFaults(json system, json faults);

// One single-system run as PRTG makes it: the profile PRD.P00 in PRTG's
// sensor directory, found through the PRTG path file, the sensor started in
// that directory with rfcsim simulating `system` there.
struct SingleRun {
  std::vector<std::string> arguments = {"PRD"};
  std::string profile = ProfileText({});
  json system = PrdSystem();
  // More files, relative paths in the sensor directory.
  std::map<std::string, std::string> files = {};
  // Directories there, by relative path.
  std::vector<std::string> directories = {};
  std::map<std::string, std::string> environment = {};
  // The plain password, which no output may show.
  std::string password = std::string(kPassword);
  // `system`'s faults make the library crash (Scenario::library_crashes).
  bool library_crashes = false;
};

struct SingleRunResult {
  Outcome outcome = {};
  // Every operation the sensor asked of the library, in order.
  std::vector<json> record = {};
  // Outcome::changed_files less rfcsim's record.
  std::vector<std::string> changed_files = {};
};

// Runs the sensor and checks what every run must keep: the password shows on
// neither standard stream, and every PRTG XML document printed is well-formed.
SingleRunResult RunSingle(const SingleRun& run);

// The PRTG layout and the files of `run`, as the harness lays them out.
Scenario ScenarioOf(const SingleRun& run);

// The nine channel values in channel order: Total Size, Used Area, Used Area
// [Prc], Perm Used Area, Perm Used Area [Prc], Temp Used Area, Temp Used Area
// [Prc], Free Area, Free Area [Prc].
using ChannelValues = std::array<std::string, 9>;

// The expected values of ExampleRow().
ChannelValues ExampleChannels();

// The text line of a filling: destination (escaped for XML where the
// document is PRTG XML), the raw total size and the two percentages.
std::string FillingText(std::string_view destination, std::string_view total_size,
                        std::string_view used_percent, std::string_view free_percent);

// What "LIMITS=" and "FORECAST" add to a document: the limit elements of
// the used area's per-cent channel (PRTG XML only) and the tenth channel,
// "Days Until Full", with its value.
struct Alarms {
  std::string used_area_limits = {};
  std::optional<std::string> days_until_full = std::nullopt;
  // The history could not be read or written: PRTG's warning state.
  bool history_trouble = false;
  // "LIMITS=W/E" as the monitoring plugin's ranges of the used area's per
  // cents, "W;E".
  std::string used_area_ranges = {};
};

// The channels in PRTG XML, as every format but the line formats writes
// them.
std::string PrtgChannels(const ChannelValues& channels, const Alarms& alarms = {});

// The whole success document of a single-system run in each format.
std::string PrtgDocument(std::string_view text, const ChannelValues& channels,
                         const Alarms& alarms = {});
std::string HalvaricDocument(std::string_view text, const ChannelValues& channels,
                             const Alarms& alarms = {});
std::string PellmarDocument(std::string_view text, const ChannelValues& channels,
                            const Alarms& alarms = {});

// The monitoring plugin's line of a single-system run, in `state` ("OK",
// "WARNING", ...): the text, the days until full with a forecast, and the
// performance data of the channels.
std::string NagiosLine(std::string_view state, std::string_view text, const ChannelValues& channels,
                       const Alarms& alarms = {});
// PRTG's Script v2 document of a single-system run, with `status` ("ok",
// "warning", "error") and the channels' fixed ids from 10 on.
std::string ScriptV2Document(std::string_view status, std::string_view text,
                             const ChannelValues& channels, const Alarms& alarms = {});
// The monitoring plugin's and Script v2's answers to an error.
std::string NagiosErrorLine(std::string_view state, std::string_view message);
std::string ScriptV2ErrorDocument(std::string_view message);

// The success document of ExampleRow() for destination PRD in PRTG XML.
std::string ExamplePrtgDocument();

// The console lines of a single-system run ahead of its result (times
// masked), for the profile PRD.P00 with host, destination, system number
// and client of ProfileSettings{} and the option display `options`.
std::string OpeningLines(std::string_view options);
// The console line that follows a successful run's document.
inline constexpr std::string_view kProcessedLine = "\n* hh:mm:ss SAP Brackwater now processed...\n";

// The RFC error report on standard output, with the library's four texts.
std::string RfcErrorReport(std::string_view operation, std::string_view key,
                           std::string_view status, std::string_view message,
                           std::string_view internal_status);
// The report for a fault that rfcsim raised with its default texts on
// `fault_operation` ("ItCreate DEVSTAT"), which the sensor names
// `reported_operation`.
std::string SimulatedFailureReport(std::string_view reported_operation,
                                   std::string_view fault_operation);
// What the report writes on standard error.
inline constexpr std::string_view kAbortLogLine = "* Pgrm aborted...\n";

// The record lines of operation `op`, and of those the ones naming `name`
// (a structure or a table).
std::vector<json> RecordOf(const std::vector<json>& record, std::string_view op);
std::size_t CountOf(const std::vector<json>& record, std::string_view op,
                    std::string_view name = {});

// The test name of a table's case: its `name`.
inline constexpr auto NameOfCase = [](const auto& info) { return info.param.name; };

// `text` without its carriage returns.
std::string WithoutCarriageReturns(std::string text);
// "Dev_Rfc.Trc" after the run, without carriage returns: the library's
// Windows build writes its lines with CR LF.
std::optional<std::string> TraceAfter(const Outcome& outcome);

// The trace block rfcsim appends on a failure carries this line.
std::string TraceErrorLine(std::string_view message);

}  // namespace e2e
