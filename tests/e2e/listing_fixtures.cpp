#include "tests/e2e/listing_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tests/e2e/document_checks.h"
#include "tests/e2e/single_run_fixtures.h"

namespace e2e::listing {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A JSON string; the scenarios' texts hold no control characters.
std::string Json(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

std::string DevstatRow(long long used_pages) {
  return "[{\"NAME\": \"DISKD0001\", \"CONF_SIZE\": 2048000, \"PAG\": " +
         std::to_string(used_pages) +
         ", \"PAGESx\": 37, \"PERM_USED\": 737280, \"PERMx_USED\": 36, \"TEMP_USED\": 20480, "
         "\"TEMPx_USED\": 1, \"UN_USED\": 1290240, \"UNx_USED\": 63}]";
}

std::string SystemJson(const SapSystem& system) {
  std::string rows =
      system.devstat_rows.empty() ? DevstatRow(system.used_pages) : system.devstat_rows;
  std::string json =
      "{\"name\": " + Json(system.sid) + ", \"ashost\": " + Json(system.host) +
      ", \"sysnr\": " + Json(system.sysnr) +
      ",\n  \"accounts\": [{\"client\": " + Json(system.client) +
      ", \"user\": " + Json(system.user) + ", \"password\": " + Json(system.password) + "}],\n" +
      "  \"functions\": {\"ADA_DB_FILLING\": {\"tables\": {\"DEVSTAT\": " + rows + "}}";
  if (!system.database.empty()) {
    json += ",\n    \"RFC_SYSTEM_INFO\": {\"importing\": {\"RFCSI_EXPORT\": {\"RFCDBSYS\": " +
            Json(system.database) + "}}}";
  }
  json += "}";
  if (!system.faults.empty()) {
    json += ",\n  \"faults\": [";
    for (std::size_t i = 0; i < system.faults.size(); ++i) {
      json += (i ? ", " : "") + system.faults[i];
    }
    json += "]";
  }
  if (!system.delays.empty()) {
    json += ",\n  \"delays\": [";
    for (std::size_t i = 0; i < system.delays.size(); ++i) {
      json += (i ? ", " : "") + system.delays[i];
    }
    json += "]";
  }
  return json + "}";
}

std::string Padded(std::string_view sensor) {
  std::string name(sensor);
  if (name.size() < 10) name.resize(10, ' ');
  return name;
}

std::string Summary(std::string_view item, int systems, int processed, int failed) {
  return "(***) " + std::string(item) + ": NoSystems=" + std::to_string(systems) +
         ", Processed=" + std::to_string(processed) + ", Failed=" + std::to_string(failed) + " ";
}

// The output without its console lines, which are meant for a person at
// a console ("* " and the rest of the line) and which PRTG never sees.
std::string WithoutConsoleLines(std::string_view out) {
  std::string kept;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t end = out.find('\n', at);
    end = end == std::string_view::npos ? out.size() : end + 1;
    std::string_view line = out.substr(at, end - at);
    if (!line.starts_with("* ")) kept.append(line);
    at = end;
  }
  return kept;
}

// Every complete PRTG document in the output is well-formed: the listing's
// own, from its opening to its end, and an error document that ended the
// run.
void ExpectDocumentsWellFormed(std::string_view console_out) {
  const std::string out = WithoutConsoleLines(console_out);
  std::size_t error_document = out.find("<Prtg>\n<Error>");
  if (error_document != std::string::npos) {
    EXPECT_TRUE(IsWellFormedXml(std::string_view(out).substr(error_document)));
  }
  std::string_view run = std::string_view(out).substr(0, error_document);
  std::size_t open = run.find("\n<Prtg>");
  std::size_t close = run.rfind("</Prtg>\n");
  if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
    EXPECT_TRUE(IsWellFormedXml(run.substr(open, close + 8 - open)));
  }
}

void ExpectCountsAddUp(const std::string& out, int missing_profiles) {
  static const std::regex counts(R"(NoSystems=(\d+), Processed=(\d+), Failed=(\d+))");
  std::smatch match;
  if (!std::regex_search(out, match, counts)) return;
  int systems = std::stoi(match[1]);
  int processed = std::stoi(match[2]);
  int failed = std::stoi(match[3]);
  EXPECT_GE(systems, processed + failed) << match[0];
  EXPECT_EQ(systems - processed - failed, missing_profiles) << match[0];
}

}  // namespace

SapSystem With(SapSystem system, const std::function<void(SapSystem&)>& change) {
  change(system);
  return system;
}

SapSystem WithFault(SapSystem system, std::string fault) {
  system.faults = {std::move(fault)};
  return system;
}

std::string Value(const SapSystem& system) { return std::to_string(system.used_pages); }

std::string ProfileOf(const SapSystem& system) {
  return ProfileText({.extcompany = "ACME Chemicals",
                      .destination = system.sid,
                      .client = system.client,
                      .user = system.user,
                      .password = system.password,
                      .hostname = system.host,
                      .sysnr = system.sysnr,
                      .gwhost = system.host,
                      .gwservice = "sapgw" + system.sysnr});
}

std::string WithoutLine(const std::string& profile, std::string_view label) {
  std::string kept;
  std::size_t at = 0;
  while (at < profile.size()) {
    std::size_t end = profile.find('\n', at);
    end = end == std::string::npos ? profile.size() : end + 1;
    std::string_view line = std::string_view(profile).substr(at, end - at);
    if (!line.starts_with(label)) kept.append(line);
    at = end;
  }
  return kept;
}

std::string WithValue(const std::string& profile, std::string_view label, std::string_view value) {
  std::size_t at = profile.find(label);
  if (at == std::string::npos) throw std::invalid_argument("no line " + std::string(label));
  std::size_t end = profile.find(kLineEnd, at);
  return profile.substr(0, at) + std::string(label) + " " + std::string(value) +
         profile.substr(end);
}

std::string LandscapeOf(const std::vector<SapSystem>& systems) {
  std::string json = "{\"systems\": [\n";
  for (std::size_t i = 0; i < systems.size(); ++i) {
    json += (i ? ",\n" : "") + SystemJson(systems[i]);
  }
  return json + "\n]}\n";
}

std::string GroupLine(std::string_view sensor, std::string_view systems) {
  return "# GSNG: " + Padded(sensor) + "  " + std::string(systems) + std::string(kLineEnd);
}

std::string ItemLine(std::string_view sensor, std::string_view item_text) {
  return "# GSNX: " + Padded(sensor) + " " + std::string(item_text) + std::string(kLineEnd);
}

std::string Listing(std::string_view systems, std::string_view item_text) {
  return GroupLine("PRD01", systems) + ItemLine("PRD01", item_text);
}

std::string Listing(std::string_view systems) {
  return Listing(systems, ItemText("Item=Used:Area,Alias"));
}

std::string ItemText(std::string_view attributes) {
  return std::string(attributes) + ",Sensor=\"SAP Brackwater\"";
}

Scenario InPrtg(Scenario scenario) {
  scenario.files.emplace("C:\\PRTG_Path.Txt", "D:\\PRTG\r\n");
  scenario.working_directory = kSensorDirectory;
  return scenario;
}

namespace {

Scenario WithFurtherWord(Scenario scenario, std::string word) {
  while (scenario.arguments.size() < 3) scenario.arguments.emplace_back();
  scenario.arguments.push_back(std::move(word));
  return scenario;
}

}  // namespace

Scenario SideBySide(Scenario scenario) {
  return WithFurtherWord(std::move(scenario), "PARALLEL=3");
}

Scenario OneAfterAnother(Scenario scenario) {
  return WithFurtherWord(std::move(scenario), "PARALLEL=1");
}

std::map<std::string, std::string> SystemFiles(const std::vector<SapSystem>& systems) {
  std::map<std::string, std::string> files;
  for (const SapSystem& system : systems) files[system.sid + ".P00"] = ProfileOf(system);
  files[kLandscape] = LandscapeOf(systems);
  return files;
}

std::map<std::string, std::string> Merged(std::map<std::string, std::string> files,
                                          const std::map<std::string, std::string>& more) {
  for (const auto& [name, content] : more) files[name] = content;
  return files;
}

namespace printed {

std::string PrtgOpening() { return "\n<Prtg>\n\n"; }

std::string PrtgChannel(std::string_view name, std::string_view value) {
  return PrtgChannel(name, value, "Pages", "");
}

std::string PrtgChannel(std::string_view name, std::string_view value, std::string_view unit,
                        std::string_view limits) {
  return "\n<Result><Channel>" + std::string(name) +
         "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>" + std::string(unit) +
         "</CustomUnit>\n<Value>" + std::string(value) + "</Value>" + std::string(limits) +
         "</Result>\n";
}

std::string PrtgSummary(std::string_view item, int systems, int processed, int failed,
                        std::string_view more) {
  return "\n<Text>" + Summary(item, systems, processed, failed) + std::string(more) +
         "</Text>\n\n</Prtg>\n\n";
}

std::string LinesOpening() { return "\n"; }

std::string HalvaricChannel(std::string_view key, std::string_view name, std::string_view value) {
  return "\n\nMessage." + std::string(key) + ": " + std::string(name) + " (Pages)\nStatistic." +
         std::string(key) + ": " + std::string(value);
}

std::string PellmarChannel(std::string_view name, std::string_view value) {
  return "\n> " + std::string(name) + ": " + std::string(value) + " Pages";
}

std::string LinesSummary(std::string_view item, int systems, int processed, int failed) {
  return "\n# " + Summary(item, systems, processed, failed) + "\n\n";
}

std::string Banner() { return "* hh:mm:ss SAP Brackwater Vers 4.3 / 29.08.22\n"; }

std::string Executing(std::string_view options) {
  return "* hh:mm:ss " + std::string(options) + " State=Executing\n";
}

std::string State(std::string_view entry, const SapSystem& system, std::string_view state) {
  return State(entry, system.host, system.sid, system.sysnr, system.client, state);
}

std::string State(std::string_view entry, std::string_view host, std::string_view destination,
                  std::string_view sysnr, std::string_view client, std::string_view state) {
  return "\n* hh:mm:ss " + std::string(entry) + ", " + std::string(host) + ", " +
         std::string(destination) + ", " + std::string(sysnr) + ", " + std::string(client) +
         " State=" + std::string(state) + "\n";
}

std::string Processed() { return "\n* hh:mm:ss SAP Brackwater now processed...\n"; }

}  // namespace printed

std::vector<std::string> Recorded(const Outcome& outcome, std::string_view op) {
  std::vector<std::string> found;
  std::istringstream lines(outcome.ReadFile(kRecord).value_or(""));
  const std::string mark = "\"op\":\"" + std::string(op) + "\"";
  for (std::string line; std::getline(lines, line);) {
    if (line.find(mark) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::vector<std::string> LoggedOnDestinations(const Outcome& outcome) {
  static const std::regex destination(R"re("destination":"([^"]*)")re");
  std::vector<std::string> destinations;
  for (const std::string& line : Recorded(outcome, "RfcOpen")) {
    std::smatch match;
    if (std::regex_search(line, match, destination)) destinations.push_back(match[1]);
  }
  return destinations;
}

void ExpectEveryConnectionClosed(const Outcome& outcome) {
  // Record lines have their keys in alphabetical order.
  static const std::regex opened(R"re(^\{"handle":([1-9][0-9]*),"op":"RfcOpen")re");
  static const std::regex closed(R"re(^\{"handle":([0-9]+),"op":"RfcClose","was_open":true)re");
  std::set<std::string> open_handles;
  std::set<std::string> closed_handles;
  for (const std::string& line : Recorded(outcome, "RfcOpen")) {
    std::smatch match;
    if (std::regex_search(line, match, opened)) open_handles.insert(match[1]);
  }
  for (const std::string& line : Recorded(outcome, "RfcClose")) {
    std::smatch match;
    if (std::regex_search(line, match, closed)) closed_handles.insert(match[1]);
  }
  EXPECT_EQ(closed_handles, open_handles);
}

void ExpectListingOutcome(const Outcome& outcome, const std::string& expected_out, int exit_code,
                          const std::vector<std::string>& changed_files, int missing_profiles) {
  EXPECT_EQ(MaskTimes(outcome.out), expected_out);
  EXPECT_EQ(outcome.exit_code, exit_code);
  EXPECT_EQ(outcome.err, "");
  std::vector<std::string> expected_changes = changed_files;
  std::sort(expected_changes.begin(), expected_changes.end());
  EXPECT_EQ(outcome.changed_files, expected_changes);
  ExpectDocumentsWellFormed(outcome.out);
  ExpectCountsAddUp(outcome.out, missing_profiles);
}

}  // namespace e2e::listing
