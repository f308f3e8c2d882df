#include "rfcsim/engine.h"

#include <thread>

#include "rfcsim/error_records.h"
#include "rfcsim/logon.h"
#include "rfcsim/process_crash.h"
#include "rfcsim/rfc_errors.h"

namespace rfcsim {
namespace {

Json DescribeError(const ErrorTexts& error) {
  return {{"key", Latin1ToUtf8(error.key)},
          {"status", Latin1ToUtf8(error.status)},
          {"message", Latin1ToUtf8(error.message)},
          {"internal_status", Latin1ToUtf8(error.internal_status)}};
}

}  // namespace

Engine::Engine(Landscape landscape, EngineFiles files)
    : landscape_(std::move(landscape)),
      systems_(landscape_),
      files_(std::move(files)),
      trace_(files_.trace),
      recorder_(files_.record) {}

void Engine::Environment(const RFC_ENV* environment) {
  error_handler_ = environment ? environment->errorhandler : nullptr;
  Finish(StartRecord([&] {
    return Json{{"op", "RfcEnvironment"},
                {"error_handler", error_handler_ != nullptr},
                {"allocate", environment && environment->allocate}};
  }));
}

RFC_HANDLE Engine::Open(const RFC_OPTIONS* options) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "RfcOpen"}, {"options", DescribeOptions(options)}};
  });
  const RFC_HANDLE handle = Logon("RfcOpen", RequestFromOptions(options), record);
  Finish(std::move(record));
  return handle;
}

RFC_HANDLE Engine::OpenEx(const char* connection_text, RFC_ERROR_INFO_EX* error_info) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "RfcOpenEx"},
                {"connection_text", RecordText(connection_text)},
                {"error_info", error_info != nullptr}};
  });
  const OpenRequestBuild build =
      connection_text ? RequestFromConnectionText(connection_text, files_.saprfc_ini)
                      : OpenRequestBuild{std::nullopt, ProgramError("no connection text")};
  const RFC_HANDLE handle = Logon("RfcOpenEx", build, record);
  if (handle == 0 && error_info) FillErrorInfoEx(*error_info, last_error_);
  Finish(std::move(record));
  return handle;
}

RFC_HANDLE Engine::Logon(std::string_view verb, const OpenRequestBuild& build, RecordLine& record) {
  record.Set("handle", 0);
  record.Set("system", nullptr);
  const Operation operation{std::string(verb), ""};
  if (!build.request) {
    Fail(operation, build.error);
    return 0;
  }
  const SystemModel* system = systems_.Find(build.request->partner);
  if (system) record.Set("system", [&] { return Latin1ToUtf8(system->name); });
  if (Tripped(system, operation, record)) return 0;
  if (!system) {
    Fail(operation,
         CommunicationError("partner '" + PartnerName(build.request->partner) + "' not reached"));
    return 0;
  }
  Wait(system->latency);
  if (const auto refusal = CheckLogon(*system, build.request->credentials)) {
    Fail(operation, *refusal);
    return 0;
  }
  const RFC_HANDLE handle = next_handle_++;
  connections_[handle] = Connection{system, std::nullopt};
  current_system_ = system;
  record.Set("handle", handle);
  return handle;
}

void Engine::Close(RFC_HANDLE handle) {
  // Only an open connection's logoff reaches a partner that can keep it
  // waiting.
  if (const auto open = connections_.find(handle); open != connections_.end()) {
    const Operation operation{"RfcClose", ""};
    if (const Delay* delay = FindDelay(landscape_, open->second.system, operation)) {
      Wait(delay->wait);
    }
  }
  const bool was_open = connections_.erase(handle) > 0;
  Finish(StartRecord([&] {
    return Json{{"op", "RfcClose"}, {"handle", handle}, {"was_open", was_open}};
  }));
}

int Engine::LastError(RFC_ERROR_INFO* error_info) {
  if (error_info) FillErrorInfo(*error_info, last_error_);
  RecordLine record = StartRecord([&] { return DescribeError(last_error_); });
  record.Set("op", "RfcLastError");
  Finish(std::move(record));
  return error_info ? 0 : 1;
}

const Fault* Engine::Tripped(const SystemModel* system, const Operation& operation,
                             RecordLine& record) {
  if (const Delay* delay = FindDelay(landscape_, system, operation)) Wait(delay->wait);
  const Fault* fault = FindFault(landscape_, system, operation);
  if (fault && fault->crash) {
    // The record is appended whole on every call: a reader finds the
    // crashing operation's line complete, as far as the operation got.
    record.Set("crash", true);
    recorder_.Write(record.line());
    CrashProcess();
  }
  if (fault) Trip(*fault, operation);
  return fault;
}

void Engine::Trip(const Fault& fault, const Operation& operation) {
  if (fault.trace) {
    trace_.AppendLines(*fault.trace);
  } else {
    trace_.AppendErrorBlock(operation.Text(), fault.last_error);
  }
  last_error_ = fault.last_error;
  if (fault.call_error_handler) armed_handler_text_ = fault.handler_text.value_or(operation.Text());
}

void Engine::Fail(const Operation& operation, const ErrorTexts& error) {
  trace_.AppendErrorBlock(operation.Text(), error);
  last_error_ = error;
}

void Engine::Finish(RecordLine record) {
  recorder_.Write(record.line());
  if (!armed_handler_text_) return;
  // The handler usually ends the process and never returns: keep nothing
  // of this call on the stack, and let the text live in the engine.
  record.Clear();
  handler_argument_ = std::move(*armed_handler_text_);
  armed_handler_text_.reset();
  recorder_.Write(StartRecord([&] {
                    return Json{{"op", "error_handler"},
                                {"operation", Latin1ToUtf8(handler_argument_)},
                                {"registered", error_handler_ != nullptr}};
                  }).line());
  if (error_handler_) error_handler_(handler_argument_.data());
}

void Engine::Wait(std::chrono::nanoseconds length) const {
  // Sleeps again for what is left should the system's timer wake it early:
  // a test may rely on the whole length.
  const auto until = std::chrono::steady_clock::now() + length;
  for (auto left = length; left.count() > 0; left = until - std::chrono::steady_clock::now()) {
    std::this_thread::sleep_for(left);
  }
}

Engine::Connection* Engine::FindConnection(RFC_HANDLE handle, const Operation& operation) {
  const auto it = connections_.find(handle);
  if (it != connections_.end()) return &it->second;
  Fail(operation, ProgramError("invalid connection handle " + std::to_string(handle)));
  return nullptr;
}

}  // namespace rfcsim
