#include "rfcsim/nw/classic_bridge.h"

#include <algorithm>
#include <cstring>

#include "rfcsim/engine.h"
#include "rfcsim/faults.h"
#include "rfcsim/logon.h"

namespace rfcsim::nw {
namespace {

// Operations of the classic library only: a NetWeaver caller never makes
// them (the bridge makes them on its behalf), so their faults and delays
// cannot happen through the NetWeaver library.
bool ClassicOnly(const std::string& verb) {
  return verb == "RfcInstallStructure" || verb == "ItCreate" || verb == "ItGetLine" ||
         verb == "ItDelete";
}

// The engine's faults or delays: classic-only ones dropped, and RfcOpenEx
// ones turned into RfcOpen ones, since every NetWeaver logon is one RfcOpen.
template <typename Entry>
void Adapt(std::vector<Entry>& entries) {
  std::erase_if(entries, [](const Entry& entry) { return ClassicOnly(entry.verb); });
  for (Entry& entry : entries) {
    if (entry.verb == "RfcOpenEx") entry.verb = "RfcOpen";
  }
}

// What a reader of the classic trace file finds for `fault`: with trace
// lines of its own, the text from the 13th character of its last "ERROR "
// line (empty when it has none; a "**** ERROR " line starts a new record);
// else the message of the standard block. A NetWeaver library hands this
// out as its error message, where the classic one writes the trace.
std::string TracedMessage(const Fault& fault, const std::string& standard) {
  if (!fault.trace) return standard;
  constexpr std::size_t kMessageColumn = 12;
  std::string message;
  for (const std::string& line : *fault.trace) {
    if (line.starts_with("**** ERROR ")) {
      message.clear();
    } else if (line.starts_with("ERROR ")) {
      message = line.size() > kMessageColumn ? line.substr(kMessageColumn) : std::string();
    }
  }
  return message;
}

Landscape ForEngine(Landscape landscape) {
  Adapt(landscape.faults);
  Adapt(landscape.delays);
  for (SystemModel& system : landscape.systems) {
    Adapt(system.faults);
    Adapt(system.delays);
  }
  return landscape;
}

}  // namespace

ClassicBridge::ClassicBridge(Landscape landscape, std::string record_path)
    : landscape_(ForEngine(std::move(landscape))),
      engine_(std::make_unique<Engine>(landscape_, EngineFiles{"", "", std::move(record_path)})) {}

ClassicBridge::~ClassicBridge() = default;

ErrorTexts ClassicBridge::LastError() {
  RFC_ERROR_INFO info{};
  engine_->LastError(&info);
  return {info.key, info.status, info.message, info.intstat};
}

LogonResult ClassicBridge::Open(const LogonRequest& request) {
  const bool server = !request.ashost.empty() || request.gwhost.empty();
  RFC_CONNOPT_R3ONLY r3{request.ashost.empty() ? nullptr : request.ashost.c_str(), request.sysnr,
                        request.gwhost.empty() ? nullptr : request.gwhost.c_str(),
                        request.gwserv.empty() ? nullptr : request.gwserv.c_str()};
  RFC_CONNOPT_CPIC cpic{request.gwhost.c_str(), request.gwserv.c_str()};
  RFC_OPTIONS options{nullptr,
                      server ? RFC_MODE_R3ONLY : RFC_MODE_CPIC,
                      server ? static_cast<void*>(&r3) : static_cast<void*>(&cpic),
                      request.client.c_str(),
                      request.user.c_str(),
                      request.password.c_str(),
                      request.language.c_str(),
                      0};
  LogonResult result;
  result.handle = engine_->Open(&options);
  const PartnerAddress partner{!server, server ? request.ashost : request.gwhost, request.sysnr,
                               request.gwserv};
  const SystemModel* system = FindSystem(landscape_, partner);
  if (result.handle == 0) {
    result.error = LastError();
    if (const Fault* fault = FindFault(landscape_, system, Operation{"RfcOpen", ""})) {
      result.error.message = TracedMessage(*fault, result.error.message);
    }
    return result;
  }
  systems_[result.handle] = system;
  if (system) result.system_index = static_cast<std::size_t>(system - landscape_.systems.data());
  return result;
}

void ClassicBridge::Close(unsigned handle) {
  systems_.erase(handle);
  engine_->Close(handle);
}

CallResult ClassicBridge::Call(unsigned handle, const ModuleLayout& module,
                               const std::map<std::string, std::string, std::less<>>& imports) {
  const std::string function(module.name);
  const auto type_of = [&](const StructureLayout& layout) {
    const std::string name(layout.name);
    auto it = type_handles_.find(name);
    if (it == type_handles_.end()) {
      RFC_TYPEHANDLE type = 0;
      engine_->InstallStructure(name.c_str(), nullptr, 0, &type);
      it = type_handles_.emplace(name, type).first;
    }
    return it->second;
  };

  // The lists point into these; none of them moves once the lists exist.
  std::vector<std::string> import_values;
  std::vector<RFC_PARAMETER> exporting;
  import_values.reserve(imports.size());
  for (const auto& [name, value] : imports) {
    import_values.push_back(value);
    exporting.push_back({name.c_str(), static_cast<unsigned>(name.size()), RFCTYPE_CHAR,
                         static_cast<unsigned>(value.size()), import_values.back().data()});
  }
  exporting.push_back({});

  std::vector<std::string> names;
  names.reserve(module.importing.size() + module.tables.size());
  std::vector<Bytes> buffers;
  buffers.reserve(module.importing.size());
  std::vector<RFC_PARAMETER> importing;
  for (const ImportingLayout& param : module.importing) {
    names.emplace_back(param.name);
    // Texts start blank, numbers zero: what stays when the answer leaves a
    // parameter out.
    buffers.emplace_back(param.length, param.kind == ParamKind::kInt32 ? 0 : ' ');
    const RFC_TYPEHANDLE type = param.kind == ParamKind::kInt32  ? RFC_TYPEHANDLE{RFCTYPE_INT}
                                : param.kind == ParamKind::kChar ? RFC_TYPEHANDLE{RFCTYPE_CHAR}
                                                                 : type_of(*param.structure);
    importing.push_back({names.back().c_str(), static_cast<unsigned>(names.back().size()), type,
                         param.length, buffers.back().data()});
  }
  importing.push_back({});

  std::vector<RFC_TABLE> tables;
  for (const TableLayout& table : module.tables) {
    names.emplace_back(table.name);
    ITAB_H itab = engine_->CreateTable(names.back().c_str(), table.row->length, 0, 0);
    tables.push_back({names.back().c_str(), static_cast<unsigned>(names.back().size()),
                      type_of(*table.row), table.row->length, itab, RFC_ITMODE_BYREFERENCE, 0});
  }
  tables.push_back({});

  CallResult result;
  result.result = engine_->Call(handle, function.c_str(), exporting.data(), tables.data());
  if (result.result != 0) {
    result.error = LastError();
    const auto system = systems_.find(handle);
    if (const Fault* fault =
            FindFault(landscape_, system == systems_.end() ? nullptr : system->second,
                      Operation{"RfcCall", function})) {
      result.exception = fault->exception;
      result.error.message = TracedMessage(*fault, result.error.message);
    }
  } else {
    char* exception = nullptr;
    result.result = engine_->Receive(handle, importing.data(), tables.data(), &exception);
    if (result.result != 0) {
      result.error = LastError();
      if (exception) result.exception = std::string(exception);
      const auto system = systems_.find(handle);
      if (const Fault* fault =
              FindFault(landscape_, system == systems_.end() ? nullptr : system->second,
                        Operation{"RfcReceive", function})) {
        result.error.message = TracedMessage(*fault, result.error.message);
      }
    } else {
      for (std::size_t i = 0; i < module.importing.size(); ++i) {
        result.answer.importing[names[i]] = buffers[i];
      }
      for (std::size_t i = 0; i < module.tables.size(); ++i) {
        std::vector<Bytes>& rows = result.answer.tables[tables[i].name];
        const unsigned count = engine_->TableFill(tables[i].ithandle);
        for (unsigned row = 1; row <= count; ++row) {
          const auto* line =
              static_cast<const unsigned char*>(engine_->TableLine(tables[i].ithandle, row));
          if (line) rows.emplace_back(line, line + tables[i].leng);
        }
      }
    }
  }
  for (std::size_t i = 0; i + 1 < tables.size(); ++i) engine_->DeleteTable(tables[i].ithandle);
  return result;
}

}  // namespace rfcsim::nw
