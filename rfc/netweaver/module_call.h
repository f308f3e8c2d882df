// One call of a function module on an open NetWeaver connection: the
// module's interface looked up, its function created, the texts it takes
// set, the function invoked. The function lives as long as this object.
#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "rfc/netweaver/entry_points.h"
#include "rfc/sap_library.h"

namespace rfc::nw {

// A text the caller sends: the parameter's name and the value's bytes.
struct SentText {
  std::string_view parameter;
  std::string_view value;
};

class ModuleCall {
 public:
  ModuleCall(const EntryPoints& api, ::nw::RFC_CONNECTION_HANDLE connection)
      : api_(api), connection_(connection) {}
  ~ModuleCall();
  ModuleCall(const ModuleCall&) = delete;
  ModuleCall& operator=(const ModuleCall&) = delete;

  // Calls `module` once. A text goes to the module's importing or changing
  // parameter of its name and is dropped when the module has none, as the
  // partner drops it; blanks beyond the parameter's length are not sent.
  // The failure as CallFailure makes it.
  std::optional<RemoteFailure> Invoke(std::string_view module, std::span<const SentText> texts);

  // Whether the module hands back `name` as a single value (an exporting or
  // changing parameter), or as a table.
  bool Exports(std::u16string_view name) const;
  bool HasTable(std::u16string_view name) const;

  // The invoked function, its answer in it.
  ::nw::RFC_FUNCTION_HANDLE function() const { return function_; }

 private:
  // The parameter `name` of one of `directions`; null when there is none.
  const ::nw::RFC_PARAMETER_DESC* Find(std::u16string_view name,
                                       std::initializer_list<::nw::RFC_DIRECTION> directions) const;

  const EntryPoints& api_;
  ::nw::RFC_CONNECTION_HANDLE connection_;
  std::vector<::nw::RFC_PARAMETER_DESC> parameters_;
  ::nw::RFC_FUNCTION_HANDLE function_ = nullptr;
};

}  // namespace rfc::nw
