#include "rfcsim/landscape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <span>

#include "rfcsim/files.h"
#include "rfcsim/json_fields.h"
#include "rfcsim/module_answers.h"

namespace rfcsim {
namespace {

constexpr std::string_view kFaultVerbs[] = {
    "RfcOpen",  "RfcOpenEx", "RfcCall", "RfcReceive", "RfcInstallStructure",
    "ItCreate", "ItGetLine", "ItDelete"};
// The logoff cannot fail (RfcClose returns nothing), but a partner can keep
// it waiting.
constexpr std::string_view kDelayVerbs[] = {
    "RfcOpen",  "RfcOpenEx", "RfcCall",  "RfcReceive", "RfcInstallStructure",
    "ItCreate", "ItGetLine", "ItDelete", "RfcClose"};

// What a fault makes of a failing operation.
constexpr std::string_view kFailureKeys[] = {"result",     "exception",     "message",     "trace",
                                             "last_error", "error_handler", "handler_text"};

bool TakesNoSubject(std::string_view verb) {
  return verb == "RfcOpen" || verb == "RfcOpenEx" || verb == "RfcClose";
}

// The "operation" of a fault or a delay (`what`), split into verb and
// subject.
template <typename Entry>
void ReadOperation(const Json& object, const std::string& path, std::string_view what,
                   std::span<const std::string_view> verbs, Entry& entry) {
  if (!object.contains("operation")) {
    throw SchemaError(path, platform::Joined("a ", what, " needs an \"operation\""));
  }
  entry.operation = TextAt(object.at("operation"), ChildPath(path, "operation"));
  const std::string_view text = Trim(entry.operation);
  const auto blank = text.find(' ');
  entry.verb = std::string(text.substr(0, blank));
  entry.subject = blank == std::string_view::npos ? "" : std::string(Trim(text.substr(blank)));
  if (std::find(verbs.begin(), verbs.end(), entry.verb) == verbs.end()) {
    throw SchemaError(ChildPath(path, "operation"), "no operation \"" + entry.verb + "\"");
  }
  if (TakesNoSubject(entry.verb) && !entry.subject.empty()) {
    throw SchemaError(ChildPath(path, "operation"), entry.verb + " takes no subject");
  }
}

ErrorTexts ReadLastError(const Json& object, const Fault& fault, const std::string& path) {
  ErrorTexts texts{
      "RFC_ERROR_SYSTEM_FAILURE", "simulated",
      OptionalText(object, "message", path).value_or("simulated failure of " + fault.operation),
      fault.operation};
  if (!object.contains("last_error") || object.at("last_error").is_null()) return texts;
  const Json& given = object.at("last_error");
  const std::string given_path = ChildPath(path, "last_error");
  RequireObject(given, given_path);
  RejectUnknownKeys(given, {"key", "status", "message", "internal_status"}, given_path);
  texts.key = OptionalText(given, "key", given_path).value_or(texts.key);
  texts.status = OptionalText(given, "status", given_path).value_or(texts.status);
  texts.message = OptionalText(given, "message", given_path).value_or(texts.message);
  texts.internal_status =
      OptionalText(given, "internal_status", given_path).value_or(texts.internal_status);
  return texts;
}

Fault ReadFault(const Json& object, const std::string& path) {
  RequireObject(object, path);
  RejectUnknownKeys(object,
                    {"operation", "result", "row", "exception", "message", "trace", "last_error",
                     "error_handler", "handler_text", "crash"},
                    path);
  Fault fault;
  ReadOperation(object, path, "fault", kFaultVerbs, fault);
  fault.crash = OptionalFlag(object, "crash", path);
  if (fault.crash) {
    // A crash returns nothing and reports nothing: what describes a failure
    // would never be seen.
    for (std::string_view failure_key : kFailureKeys) {
      if (object.contains(failure_key)) {
        throw SchemaError(ChildPath(path, failure_key), "not with \"crash\"");
      }
    }
  }
  fault.result =
      static_cast<int>(OptionalInteger(object, "result", INT32_MIN, INT32_MAX, path).value_or(1));
  if (fault.result == 0) throw SchemaError(ChildPath(path, "result"), "a fault cannot return 0");
  if (const auto row = OptionalInteger(object, "row", 1, UINT32_MAX, path)) {
    if (fault.verb != "ItGetLine") throw SchemaError(ChildPath(path, "row"), "only for ItGetLine");
    fault.row = static_cast<unsigned>(*row);
  }

  if (fault.result == 2) fault.exception = "EXCEPTION_RAISED";
  if (fault.result == 3) fault.exception = "SYSTEM_FAILURE";
  if (object.contains("exception")) {
    if (fault.result != 2 && fault.result != 3) {
      throw SchemaError(ChildPath(path, "exception"), "only with result 2 or 3");
    }
    fault.exception = OptionalText(object, "exception", path);  // null: a null pointer
  }

  if (object.contains("trace")) {
    const std::string trace_path = ChildPath(path, "trace");
    RequireArray(object.at("trace"), trace_path);
    fault.trace.emplace();
    for (std::size_t i = 0; i < object.at("trace").size(); ++i) {
      fault.trace->push_back(TextAt(object.at("trace")[i], ChildPath(trace_path, i)));
    }
  }
  fault.last_error = ReadLastError(object, fault, path);
  fault.call_error_handler = OptionalFlag(object, "error_handler", path);
  fault.handler_text = OptionalText(object, "handler_text", path);
  return fault;
}

// A day at most: long enough for any hang a test needs, short enough that
// the wait always fits the clock's count.
constexpr double kMaxDelaySeconds = 86400;

Delay ReadDelay(const Json& object, const std::string& path) {
  RequireObject(object, path);
  RejectUnknownKeys(object, {"operation", "seconds"}, path);
  Delay delay;
  ReadOperation(object, path, "delay", kDelayVerbs, delay);
  if (!object.contains("seconds")) throw SchemaError(path, "a delay needs \"seconds\"");
  const double seconds =
      NumberAt(object.at("seconds"), 0, kMaxDelaySeconds, ChildPath(path, "seconds"));
  delay.wait = std::chrono::nanoseconds(std::llround(seconds * 1e9));
  return delay;
}

// The array at `key` of `object` (none when missing), each element read by
// `read`.
template <typename Entry>
std::vector<Entry> ReadEntries(const Json& object, std::string_view key, const std::string& path,
                               Entry (*read)(const Json&, const std::string&)) {
  std::vector<Entry> entries;
  const auto it = object.find(key);
  if (it == object.end()) return entries;
  const std::string entries_path = ChildPath(path, key);
  RequireArray(*it, entries_path);
  for (std::size_t i = 0; i < it->size(); ++i) {
    entries.push_back(read((*it)[i], ChildPath(entries_path, i)));
  }
  return entries;
}

int ReadSystemNumber(const Json& object, const std::string& path) {
  if (!object.contains("sysnr")) return 0;
  const Json& value = object.at("sysnr");
  const std::string sysnr_path = ChildPath(path, "sysnr");
  if (!value.is_string()) return static_cast<int>(IntegerAt(value, 0, 99, sysnr_path));
  // SAP writes system numbers as two digits: "00".
  const std::string& digits = value.get_ref<const std::string&>();
  if (digits.empty() || digits.size() > 2 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    throw SchemaError(sysnr_path, "expected a system number from 00 to 99");
  }
  return std::stoi(digits);
}

std::vector<Account> ReadAccounts(const Json& object, const std::string& path) {
  std::vector<Account> accounts;
  if (!object.contains("accounts")) return accounts;
  const std::string accounts_path = ChildPath(path, "accounts");
  RequireArray(object.at("accounts"), accounts_path);
  for (std::size_t i = 0; i < object.at("accounts").size(); ++i) {
    const Json& entry = object.at("accounts")[i];
    const std::string entry_path = ChildPath(accounts_path, i);
    RequireObject(entry, entry_path);
    RejectUnknownKeys(entry, {"client", "user", "password"}, entry_path);
    for (const char* key : {"client", "user", "password"}) {
      if (!entry.contains(key)) throw SchemaError(entry_path, std::string("needs \"") + key + "\"");
    }
    accounts.push_back({TextAt(entry.at("client"), ChildPath(entry_path, "client")),
                        TextAt(entry.at("user"), ChildPath(entry_path, "user")),
                        TextAt(entry.at("password"), ChildPath(entry_path, "password"))});
  }
  return accounts;
}

SystemModel ReadSystem(const Json& object, const std::string& path) {
  RequireObject(object, path);
  RejectUnknownKeys(object,
                    {"name", "ashost", "sysnr", "gwhost", "gwserv", "accounts", "latency_ms",
                     "functions", "faults", "delays"},
                    path);
  SystemModel system;
  const auto name = OptionalText(object, "name", path);
  if (!name) throw SchemaError(path, "a system needs a \"name\"");
  system.name = *name;
  system.ashost = OptionalText(object, "ashost", path);
  system.sysnr = ReadSystemNumber(object, path);
  const auto gwhost = OptionalText(object, "gwhost", path);
  if (!system.ashost && !gwhost) throw SchemaError(path, "a system needs \"ashost\" or \"gwhost\"");
  system.gwhost = gwhost ? *gwhost : *system.ashost;
  system.gwserv =
      OptionalText(object, "gwserv", path)
          .value_or((system.sysnr < 10 ? "sapgw0" : "sapgw") + std::to_string(system.sysnr));
  system.accounts = ReadAccounts(object, path);
  system.latency =
      std::chrono::milliseconds(OptionalInteger(object, "latency_ms", 0, 600000, path).value_or(0));

  const std::string functions_path = ChildPath(path, "functions");
  const Json no_overlays = Json::object();
  const Json& overlays = object.contains("functions") ? object.at("functions") : no_overlays;
  RequireObject(overlays, functions_path);
  for (const auto& [module_name, overlay] : overlays.items()) {
    if (!FindModule(module_name)) {
      throw SchemaError(ChildPath(functions_path, module_name), "no function module of that name");
    }
  }
  const SystemIdentity identity{system.name, system.ashost.value_or(system.gwhost), system.sysnr};
  for (const ModuleLayout& module : KnownModules()) {
    const std::string key(module.name);
    const Json& overlay = overlays.contains(key) ? overlays.at(key) : Json();
    system.answers[key] =
        BuildModuleAnswer(module, identity, overlay, ChildPath(functions_path, key));
  }
  system.faults = ReadEntries(object, "faults", path, ReadFault);
  system.delays = ReadEntries(object, "delays", path, ReadDelay);
  return system;
}

Landscape ReadLandscape(const Json& document) {
  RequireObject(document, "");
  RejectUnknownKeys(document, {"systems", "faults", "delays"}, "");
  Landscape landscape;
  if (document.contains("systems")) {
    RequireArray(document.at("systems"), "/systems");
    for (std::size_t i = 0; i < document.at("systems").size(); ++i) {
      landscape.systems.push_back(ReadSystem(document.at("systems")[i], ChildPath("/systems", i)));
    }
  }
  landscape.faults = ReadEntries(document, "faults", "", ReadFault);
  landscape.delays = ReadEntries(document, "delays", "", ReadDelay);
  return landscape;
}

std::string ProblemLine(std::string_view source, const std::string& detail) {
  return platform::Joined("rfcsim: landscape '", source, "' ignored: ", detail);
}

}  // namespace

LandscapeLoad ParseLandscape(std::string_view json_text, std::string_view source) {
  LandscapeLoad load;
  try {
    const Json document = Json::parse(json_text, nullptr, true, /*ignore_comments=*/true);
    load.landscape = ReadLandscape(document);
  } catch (const Json::parse_error& error) {
    // what() reads "[json.exception.parse_error.101] parse error at line 1, ...".
    std::string detail = error.what();
    if (const auto end = detail.find("] "); end != std::string::npos) detail.erase(0, end + 2);
    load.problem = ProblemLine(source, "byte " + std::to_string(error.byte) + ": " + detail);
  } catch (const std::exception& error) {
    load.problem = ProblemLine(source, error.what());
  }
  if (!load.problem.empty()) load.landscape = Landscape{};
  return load;
}

LandscapeLoad LoadLandscapeFile(const std::string& path, bool must_exist) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) {
    LandscapeLoad load;
    if (must_exist) load.problem = ProblemLine(path, "cannot open the file");
    return load;
  }
  return ParseLandscape(*text, path);
}

}  // namespace rfcsim
