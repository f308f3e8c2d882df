#include "tests/e2e/single_run_fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <variant>

#include "config/password_scramble.h"
#include "tests/e2e/alarm_fixtures.h"
#include "tests/e2e/document_checks.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// rfcsim's record of the run, in the sensor directory.
constexpr std::string_view kRecordFile = "rfcsim.rec";

struct ChannelForm {
  std::string_view name;
  std::string_view unit;
  // The identifier the Halvaric format makes of the name.
  std::string_view key;
  // The unit as the line formats show it.
  std::string_view shown_unit;
};

constexpr std::array<ChannelForm, 9> kChannels{{
    {"Total Size", "MByte", "Total_Size", "MByte"},
    {"Used Area", "MByte", "Used_Area", "MByte"},
    {"Used Area [Prc]", "PerCent", "Used_Area__Prc_", "%"},
    {"Perm Used Area", "MByte", "Perm_Used_Area", "MByte"},
    {"Perm Used Area [Prc]", "PerCent", "Perm_Used_Area__Prc_", "%"},
    {"Temp Used Area", "MByte", "Temp_Used_Area", "MByte"},
    {"Temp Used Area [Prc]", "PerCent", "Temp_Used_Area__Prc_", "%"},
    {"Free Area", "MByte", "Free_Area", "MByte"},
    {"Free Area [Prc]", "PerCent", "Free_Area__Prc_", "%"},
}};

// "Used Area [Prc]", the channel "LIMITS=" gives levels.
constexpr std::size_t kUsedAreaPercent = 2;

json& FunctionAnswer(json& system, std::string_view module) {
  return system["functions"][std::string(module)];
}

// The PRTG XML document(s) in `out`: from the first tag of one to the end of
// the last closing, or empty when there is none.
std::string_view PrtgPart(std::string_view out) {
  std::size_t from = std::min(out.find("<Prtg>"), out.find("</Prtg>"));
  if (from == std::string_view::npos) return {};
  constexpr std::string_view closing = "</Prtg>";
  std::size_t last = out.rfind(closing);
  std::size_t to =
      last == std::string_view::npos || last < from ? out.size() : last + closing.size();
  return out.substr(from, to - from);
}

std::vector<json> ParseRecord(const std::string& text) {
  std::vector<json> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    if (end > from) lines.push_back(json::parse(text.substr(from, end - from)));
    from = end + 1;
  }
  return lines;
}

// Neither standard stream shows the plain password.
void ExpectPasswordHidden(const Outcome& outcome, std::string_view password) {
  EXPECT_THAT(outcome.out, Not(HasSubstr(password))) << "the password shows on standard output";
  EXPECT_THAT(outcome.err, Not(HasSubstr(password))) << "the password shows on standard error";
}

}  // namespace

std::string Scrambled(std::string_view password) {
  std::vector<int> offsets = config::PrintableOffsets(password);
  if (offsets.empty()) {
    ADD_FAILURE() << "the profile tool cannot scramble \"" << password << "\"";
    return {};
  }
  auto scrambled = config::ScramblePassword(password, offsets.front(), 1);
  return std::get<std::string>(scrambled);
}

std::string ProfileLine(std::string_view label, std::string_view value) {
  return std::string(label) + " " + std::string(value);
}

std::string ProfileText(const ProfileSettings& settings, std::string_view line_end) {
  const std::string lines[] = {
      "* Brackwater profile of PRD",
      ProfileLine("Extcompany.:", settings.extcompany),
      ProfileLine("Destination:", settings.destination),
      ProfileLine("Client.....:", settings.client),
      ProfileLine("User.......:", settings.user),
      ProfileLine("Password...:", Scrambled(settings.password)),
      ProfileLine("Language...:", settings.language),
      ProfileLine("Mode.......:", settings.mode),
      ProfileLine("Hostname...:", settings.hostname),
      ProfileLine("Sysnr......:", settings.sysnr),
      ProfileLine("Gwhost.....:", settings.gwhost),
      ProfileLine("Gwservice..:", settings.gwservice),
  };
  std::string text;
  for (const std::string& line : lines) text.append(line).append(line_end);
  return text;
}

json DevstatRow(json conf_size, json pag, json pagesx, json perm_used, json permx_used,
                json temp_used, json tempx_used, json un_used, json unx_used) {
  return {{"NAME", "DISKD0001"},    {"CONF_SIZE", conf_size},   {"PAG", pag},
          {"PAGESx", pagesx},       {"PERM_USED", perm_used},   {"PERMx_USED", permx_used},
          {"TEMP_USED", temp_used}, {"TEMPx_USED", tempx_used}, {"UN_USED", un_used},
          {"UNx_USED", unx_used}};
}

json ExampleRow() { return DevstatRow(5000, 1850, 37, 1800, 36, 50, 1, 3150, 63); }

ChannelValues ExampleChannels() { return {"5", "1", "37", "1", "36", "0", "1", "3", "63"}; }

json PrdSystem() {
  json system = {
      {"name", "PRD"},
      {"ashost", "sapprd01"},
      {"sysnr", "00"},
      {"accounts",
       json::array({{{"client", "100"}, {"user", "MONITOR"}, {"password", kPassword}}})},
  };
  return WithDevstat(std::move(system), json::array({ExampleRow()}));
}

json WithDevstat(json system, json rows) {
  FunctionAnswer(system, "ADA_DB_FILLING")["tables"]["DEVSTAT"] = std::move(rows);
  return system;
}

json WithDatabaseSystem(json system, json rfcdbsys) {
  FunctionAnswer(system, "RFC_SYSTEM_INFO")["importing"]["RFCSI_EXPORT"]["RFCDBSYS"] =
      std::move(rfcdbsys);
  return system;
}

json WithFaults(json system, json faults) {
  system["faults"] = std::move(faults);
  return system;
}

Scenario ScenarioOf(const SingleRun& run) {
  Scenario scenario{
      .arguments = run.arguments,
      .files = {{std::string(kPrtgPathFile), "D:\\PRTG\r\n"},
                {std::string(kSensorDirectory) + "\\PRD.P00", run.profile},
                {"rfcsim.json", json{{"systems", json::array({run.system})}}.dump(2)}},
      .environment = run.environment,
      .working_directory = std::string(kSensorDirectory),
      .library_crashes = run.library_crashes,
  };
  for (const auto& [path, content] : run.files) scenario.files[path] = content;
  for (const std::string& directory : run.directories) {
    scenario.directories.push_back(std::string(kSensorDirectory) + "\\" + directory);
  }
  scenario.environment["RFCSIM_RECORD"] = std::string(kRecordFile);
  return scenario;
}

SingleRunResult RunSingle(const SingleRun& run) {
  SingleRunResult result{.outcome = RunSensor(ScenarioOf(run))};
  const Outcome& outcome = result.outcome;

  ExpectPasswordHidden(outcome, run.password);
  // A run that the library's error report ended may stop inside a document.
  if (std::string_view document = PrtgPart(outcome.out);
      !document.empty() && outcome.exit_code != 1) {
    EXPECT_TRUE(IsWellFormedXml(document));
  }

  if (std::optional<std::string> record = outcome.ReadFile(kRecordFile)) {
    result.record = ParseRecord(*record);
  }
  std::copy_if(outcome.changed_files.begin(), outcome.changed_files.end(),
               std::back_inserter(result.changed_files),
               [](const std::string& file) { return file != kRecordFile; });
  // Nor does any file the run writes: rfcsim's record, a test facility,
  // stands apart.
  for (const std::string& file : result.changed_files) {
    EXPECT_THAT(outcome.ReadFile(file).value_or(""), Not(HasSubstr(run.password)))
        << "the password shows in " << file;
  }
  return result;
}

std::string FillingText(std::string_view destination, std::string_view total_size,
                        std::string_view used_percent, std::string_view free_percent) {
  return "(" + std::string(destination) + ") DBase Filling: TotalSize=" + std::string(total_size) +
         ", UsedArea=" + std::string(used_percent) + "%, FreeArea=" + std::string(free_percent) +
         "% ";
}

std::string PrtgChannels(const ChannelValues& channels, const Alarms& alarms) {
  std::string text;
  const auto append = [&](std::string_view name, std::string_view unit, std::string_view value,
                          std::string_view limits) {
    text.append("\n<Result><Channel>").append(name).append("</Channel>\n");
    text.append("<Unit>Custom</Unit>\n<CustomUnit>").append(unit);
    text.append("</CustomUnit>\n<Value>").append(value).append("</Value>");
    text.append(limits).append("</Result>\n");
  };
  const std::string warning = alarms.history_trouble ? "\n<Warning>1</Warning>" : "";
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    append(kChannels[i].name, kChannels[i].unit, channels[i],
           i == kUsedAreaPercent ? alarms.used_area_limits : "");
  }
  if (alarms.days_until_full) {
    append("Days Until Full", "Days", *alarms.days_until_full,
           DaysUntilFullLimitElements() + warning);
  }
  return text;
}

std::string PrtgDocument(std::string_view text, const ChannelValues& channels,
                         const Alarms& alarms) {
  return "\n<Prtg>\n\n<Text>" + std::string(text) + "</Text>\n" + PrtgChannels(channels, alarms) +
         "\n</Prtg>\n";
}

std::string HalvaricDocument(std::string_view text, const ChannelValues& channels,
                             const Alarms& alarms) {
  std::string document = "\n# " + std::string(text);
  const auto append = [&](std::string_view key, std::string_view name, std::string_view unit,
                          std::string_view value) {
    document.append("\n\nMessage.").append(key).append(": ").append(name);
    document.append(" (").append(unit).append(")");
    document.append("\nStatistic.").append(key).append(": ").append(value);
  };
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    append(kChannels[i].key, kChannels[i].name, kChannels[i].shown_unit, channels[i]);
  }
  if (alarms.days_until_full) {
    append("Days_Until_Full", "Days Until Full", "Days", *alarms.days_until_full);
  }
  return document + "\n";
}

std::string PellmarDocument(std::string_view text, const ChannelValues& channels,
                            const Alarms& alarms) {
  std::string document = "\n# " + std::string(text);
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    document.append("\n> ").append(kChannels[i].name).append(": ").append(channels[i]);
    document.append(" ").append(kChannels[i].shown_unit);
  }
  if (alarms.days_until_full) {
    document.append("\n> Days Until Full: ").append(*alarms.days_until_full).append(" Days");
  }
  return document + "\n";
}

namespace {

// The run's text as one line shows it: without its closing blank, and with
// a forecast's days.
std::string SummaryText(std::string_view text, const Alarms& alarms) {
  std::string summary(text.substr(0, text.find_last_not_of(' ') + 1));
  if (alarms.days_until_full) summary += ", Days Until Full: " + *alarms.days_until_full;
  return summary;
}

}  // namespace

std::string NagiosLine(std::string_view state, std::string_view text, const ChannelValues& channels,
                       const Alarms& alarms) {
  std::string line = "MAXDB " + std::string(state) + " - " + SummaryText(text, alarms) + " |";
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    const bool percent = kChannels[i].unit == "PerCent";
    const std::string ranges =
        i == kUsedAreaPercent && !alarms.used_area_ranges.empty() ? alarms.used_area_ranges : ";";
    line += " '" + std::string(kChannels[i].name) + "'=" + channels[i] + (percent ? "%" : "MB") +
            ";" + ranges + ";0" + (percent ? ";100" : "");
  }
  if (alarms.days_until_full) line += " 'Days Until Full'=" + *alarms.days_until_full + ";30:;7:;0";
  return line + "\n";
}

std::string ScriptV2Document(std::string_view status, std::string_view text,
                             const ChannelValues& channels, const Alarms& alarms) {
  std::string document = R"({"version":2,"status":")" + std::string(status) + R"(","message":")" +
                         SummaryText(text, alarms) + R"(","channels":[)";
  const auto append = [&](std::size_t id, std::string_view name, std::string_view unit,
                          std::string_view value) {
    document +=
        (id == 10 ? "" : ",") + std::string(R"({"id":)") + std::to_string(id) + R"(,"name":")" +
        std::string(name) + R"(","type":"integer",)" +
        (unit == "PerCent" ? std::string(R"("kind":"percent")")
                           : R"("kind":"custom","display_unit":")" + std::string(unit) + "\"") +
        R"(,"value":)" + std::string(value) + "}";
  };
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    append(10 + i, kChannels[i].name, kChannels[i].unit, channels[i]);
  }
  if (alarms.days_until_full) append(19, "Days Until Full", "Days", *alarms.days_until_full);
  return document + "]}\n";
}

std::string NagiosErrorLine(std::string_view state, std::string_view message) {
  return "MAXDB " + std::string(state) + " - " + std::string(message) + "\n";
}

std::string ScriptV2ErrorDocument(std::string_view message) {
  return R"({"version":2,"status":"error","message":")" + std::string(message) + "\"}\n";
}

std::string ExamplePrtgDocument() {
  return PrtgDocument(FillingText("PRD", "5000", "37", "63"), ExampleChannels());
}

std::string OpeningLines(std::string_view options) {
  return "* hh:mm:ss SAP Brackwater Vers 4.3 / 29.08.22\n"
         "* hh:mm:ss PRD.P00, sapprd01, PRD, 00, 100 State=Processing\n"
         "* hh:mm:ss Brackwater - " +
         std::string(options) + " State=Executing\n";
}

std::string RfcErrorReport(std::string_view operation, std::string_view key,
                           std::string_view status, std::string_view message,
                           std::string_view internal_status) {
  return "RFC error\n"
         "operation/code  : " +
         std::string(operation) +
         "\n"
         "key             : " +
         std::string(key) +
         "\n"
         "status          : " +
         std::string(status) +
         "\n"
         "message         : " +
         std::string(message) +
         "\n"
         "internal status : " +
         std::string(internal_status) +
         "\n"
         "\n"
         "* Programm aborted...\n"
         "* Error at EoXput-File...\n";
}

std::string SimulatedFailureReport(std::string_view reported_operation,
                                   std::string_view fault_operation) {
  return RfcErrorReport(reported_operation, "RFC_ERROR_SYSTEM_FAILURE", "simulated",
                        "simulated failure of " + std::string(fault_operation), fault_operation);
}

std::vector<json> RecordOf(const std::vector<json>& record, std::string_view op) {
  std::vector<json> lines;
  std::copy_if(record.begin(), record.end(), std::back_inserter(lines),
               [op](const json& line) { return line.value("op", "") == op; });
  return lines;
}

std::size_t CountOf(const std::vector<json>& record, std::string_view op, std::string_view name) {
  std::vector<json> lines = RecordOf(record, op);
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [name](const json& l) {
    return name.empty() || (l.contains("name") && l["name"] == name);
  }));
}

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::optional<std::string> TraceAfter(const Outcome& outcome) {
  std::optional<std::string> trace = outcome.ReadFile(kTraceFile);
  if (trace) *trace = WithoutCarriageReturns(std::move(*trace));
  return trace;
}

std::string TraceErrorLine(std::string_view message) {
  return "\nERROR       " + std::string(message) + "\n";
}

}  // namespace e2e
