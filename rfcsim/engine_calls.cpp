// Remote calls: RfcCall sends, RfcReceive answers from the landscape.
#include <cstring>
#include <utility>

#include "rfcsim/answer_delivery.h"
#include "rfcsim/engine.h"
#include "rfcsim/modules.h"
#include "rfcsim/rfc_errors.h"

namespace rfcsim {

int Engine::Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting,
                 RFC_TABLE* tables) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "RfcCall"},
                {"handle", handle},
                {"function", RecordText(function)},
                {"exporting", DescribeParameters(exporting, true, structures_)},
                {"tables", DescribeTables(tables, tables_, structures_)}};
  });
  const std::string name(TextOrEmpty(function));
  const Operation operation{"RfcCall", name};
  int result = 0;
  Connection* connection = FindConnection(handle, operation);
  if (!connection) {
    result = 1;
  } else if (!function) {
    Fail(operation, ProgramError("no function module name"));
    result = 1;
  } else if (const auto problem = CheckLists(exporting, tables)) {
    Fail(operation, ProgramError(*problem));
    result = 1;
  } else if (const Fault* fault = Tripped(connection->system, operation, record)) {
    result = fault->result;
  }
  // Only a call that went out can be received.
  if (connection) connection->pending_function = result == 0 ? std::optional(name) : std::nullopt;
  record.Set("result", result);
  Finish(std::move(record));
  return result;
}

int Engine::Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                    char** exception) {
  RecordLine record = StartRecord([&] {
    return Json{{"op", "RfcReceive"},
                {"handle", handle},
                {"importing", DescribeParameters(importing, false, structures_)},
                {"tables", DescribeTables(tables, tables_, structures_)}};
  });
  Connection* connection = FindConnection(handle, {"RfcReceive", ""});
  const std::optional<std::string> function =
      connection ? std::exchange(connection->pending_function, std::nullopt) : std::nullopt;
  record.Set("function", [&] { return function ? Json(Latin1ToUtf8(*function)) : Json(nullptr); });

  const Operation operation{"RfcReceive", function.value_or("")};
  int result = 0;
  std::optional<std::string> exception_name;  // nullopt: hand out a null pointer
  if (!connection) {
    result = 1;
  } else if (!function) {
    Fail(operation, ProgramError("RfcReceive without a preceding RfcCall"));
    result = 1;
  } else if (const auto problem = CheckLists(importing, tables)) {
    Fail(operation, ProgramError(*problem));
    result = 1;
  } else {
    Wait(connection->system->latency);
    const ModuleLayout* module = FindModule(*function);
    if (const Fault* fault = Tripped(connection->system, operation, record)) {
      result = fault->result;
      exception_name = fault->exception;
    } else if (!module) {
      Fail(operation, FunctionNotFoundError(*function));
      result = 2;
      exception_name = std::string(kFunctionNotFound);
    } else {
      const auto answer = connection->system->answers.find(module->name);
      if (answer != connection->system->answers.end()) {
        DeliverAnswer(*module, answer->second, importing, tables, tables_, structures_);
      }
    }
  }

  record.Set("result", result);
  if (result == 2 || result == 3) {
    exception_text_ = exception_name.value_or("");
    if (exception) *exception = exception_name ? exception_text_.data() : nullptr;
    record.Set("exception", [&] {
      return exception_name ? Json(Latin1ToUtf8(*exception_name)) : Json(nullptr);
    });
  }
  Finish(std::move(record));
  return result;
}

std::optional<std::string> Engine::CheckLists(const RFC_PARAMETER* parameters,
                                              const RFC_TABLE* tables) const {
  const auto length_problem = [](const char* name, unsigned name_length) {
    return platform::Joined("'", name, "' has name length ", std::to_string(name_length),
                            " for a name of ", std::to_string(std::strlen(name)), " characters");
  };
  for (const RFC_PARAMETER* p = parameters; p && p->name; ++p) {
    if (p->nlen != std::strlen(p->name)) return length_problem(p->name, p->nlen);
  }
  for (const RFC_TABLE* t = tables; t && t->name; ++t) {
    if (t->nlen != std::strlen(t->name)) return length_problem(t->name, t->nlen);
    const InternalTable* table = tables_.Find(t->ithandle);
    if (!table) return platform::Joined("table '", t->name, "' has no valid handle");
    // The library moves whole rows of the length the caller names; a row
    // length other than the table's would cut or overrun its rows.
    if (t->leng != table->row_length()) {
      return platform::Joined("table '", t->name, "' has row length ", std::to_string(t->leng),
                              " for rows of ", std::to_string(table->row_length()), " bytes");
    }
  }
  return std::nullopt;
}

}  // namespace rfcsim
