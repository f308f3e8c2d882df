// What the listing-run scenarios lay out (a PRTG installation, simulated SAP
// systems with their profiles, listings) and the texts the sensor prints for
// them, with every time of day masked as MaskTimes masks it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/scenario.h"

namespace e2e::listing {

// PRTG's sensor directory below D:\PRTG, where "C:\PRTG_Path.Txt" points.
// PRTG starts its sensors there, so it is also the working directory that
// holds the landscape and the library's trace file.
inline const std::string kSensorDirectory =
    "D:\\PRTG\\PRTG Network Monitor\\Custom Sensors\\ExeXml";
inline const std::string kGlobalListing = "SAP Tessaron.Gbl";
inline const std::string kItemListing = "Tessaron.Prf";
inline const std::string kLandscape = "rfcsim.json";
inline const std::string kTraceFile = "Dev_Rfc.Trc";
inline const std::string kRecord = "rfcsim-record.jsonl";

// One simulated SAP system: the landscape's entry for it and the settings
// its profile holds, which match unless a scenario changes one side.
struct SapSystem {
  std::string sid;
  std::string host;
  std::string sysnr = "00";
  std::string client = "100";
  std::string user = "MONITOR";
  std::string password = "secret";
  // PAG of the system's one DEVSTAT row, so that a channel shows whose it is.
  long long used_pages = 757760;
  // RFCDBSYS of its system information; empty: rfcsim's MaxDB name.
  std::string database = {};
  // Its DEVSTAT rows as a JSON array; empty: the one row with used_pages.
  std::string devstat_rows = {};
  // Faults of this system only, each a JSON object.
  std::vector<std::string> faults = {};
  // Delays of this system only, each a JSON object.
  std::vector<std::string> delays = {};
};

// Three systems that the scenarios list; their profiles are <sid>.P00.
inline const SapSystem kPrd{.sid = "PRD", .host = "sapprd01", .used_pages = 757760};
inline const SapSystem kQas{.sid = "QAS",
                            .host = "sapqas01",
                            .sysnr = "01",
                            .client = "200",
                            .password = "Qa2024",
                            .used_pages = 402176};
inline const SapSystem kDev{.sid = "DEV",
                            .host = "sapdev01",
                            .sysnr = "02",
                            .client = "300",
                            .password = "dev9x",
                            .used_pages = 130048};

// A copy of `system` as `change` leaves it.
SapSystem With(SapSystem system, const std::function<void(SapSystem&)>& change);
// A copy of `system` with the one fault `fault` (a JSON object).
SapSystem WithFault(SapSystem system, std::string fault);
// Its channel value for the item "Used Area".
std::string Value(const SapSystem& system);

// The system's profile: all eleven lines, the password scrambled as the
// profile tool writes it, CR LF line ends as on Windows.
std::string ProfileOf(const SapSystem& system);
// The profile without the line of `label` ("Password...:").
std::string WithoutLine(const std::string& profile, std::string_view label);
// The profile with the value of `label` replaced by `value` (written as it
// stands, nothing scrambled).
std::string WithValue(const std::string& profile, std::string_view label, std::string_view value);

// The landscape that rfcsim reads for these systems.
std::string LandscapeOf(const std::vector<SapSystem>& systems);

// Lines of the global sensor listing (CR LF ended). The sensor name takes
// columns 9 to 18; the systems start in column 21, the item text in 20.
std::string GroupLine(std::string_view sensor, std::string_view systems);
std::string ItemLine(std::string_view sensor, std::string_view item_text);
// The global listing of sensor PRD01: one group line with `systems`, then
// the item line with `item_text`.
std::string Listing(std::string_view systems, std::string_view item_text);
std::string Listing(std::string_view systems);  // reports Used Area by alias
// The item text of a listing item line: `attributes` (such as
// "Item=Used:Area,Alias") followed by the mark of this sensor program.
std::string ItemText(std::string_view attributes);

// The scenario placed in the PRTG installation: "C:\PRTG_Path.Txt" names
// D:\PRTG, relative files land in the sensor directory, which is also the
// working directory.
Scenario InPrtg(Scenario scenario);

// The scenario with its systems measured side by side, three at a time, or
// one after another: "PARALLEL=3" or "PARALLEL=1" added as an argument of
// its own after the third (an empty one where there is none).
Scenario SideBySide(Scenario scenario);
Scenario OneAfterAnother(Scenario scenario);

// The profiles of `systems`, named `<sid>.P00`, and their landscape, as
// scenario files.
std::map<std::string, std::string> SystemFiles(const std::vector<SapSystem>& systems);
// `files` with `more` added (`more` wins).
std::map<std::string, std::string> Merged(std::map<std::string, std::string> files,
                                          const std::map<std::string, std::string>& more);

// Texts printed by a listing run.
namespace printed {

// PRTG XML: the document's opening as the listing run prints it, one
// system's channel, and the summary with the document's end.
std::string PrtgOpening();
std::string PrtgChannel(std::string_view name, std::string_view value);
// A channel in another unit than "Pages", with PRTG's limit elements.
std::string PrtgChannel(std::string_view name, std::string_view value, std::string_view unit,
                        std::string_view limits);
// `more`: what the summary's text carries after the counts.
std::string PrtgSummary(std::string_view item, int systems, int processed, int failed,
                        std::string_view more = {});

// Halvaric and Pellmar: the (empty) opening, a channel, the summary text
// with the document's end.
std::string LinesOpening();
std::string HalvaricChannel(std::string_view key, std::string_view name, std::string_view value);
std::string PellmarChannel(std::string_view name, std::string_view value);
std::string LinesSummary(std::string_view item, int systems, int processed, int failed);

// Console lines: the banner, the run's start with the display form of its
// options, one system's state, and the end.
std::string Banner();
std::string Executing(std::string_view options);
std::string State(std::string_view entry, const SapSystem& system, std::string_view state);
std::string State(std::string_view entry, std::string_view host, std::string_view destination,
                  std::string_view sysnr, std::string_view client, std::string_view state);
std::string Processed();

}  // namespace printed

// What rfcsim's record (kRecord in the working directory, when the scenario
// sets RFCSIM_RECORD to it) shows of the run: its lines for operation `op`
// ("RfcOpen"), and the destinations logged on to, in order.
std::vector<std::string> Recorded(const Outcome& outcome, std::string_view op);
std::vector<std::string> LoggedOnDestinations(const Outcome& outcome);
// Every connection the record shows opened was closed again.
void ExpectEveryConnectionClosed(const Outcome& outcome);

// The checks every listing scenario shares: standard output exactly
// `expected_out` (times masked), nothing on standard error, the exit code,
// the files the run changed, every complete PRTG document well-formed, and
// a summary whose counts add up: as many systems as were processed and
// failed, plus `missing_profiles`.
void ExpectListingOutcome(const Outcome& outcome, const std::string& expected_out, int exit_code,
                          const std::vector<std::string>& changed_files, int missing_profiles);

}  // namespace e2e::listing
