// Taking a loaded library's functions by name: shared by the classic
// library and the NetWeaver adapter.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace rfc {

// Looks up an exported function by its plain name (GetProcAddress on
// Windows, a fake in tests); null when the library has none of that name.
// What it returns stands for a function of any type.
using EntryPointFinder = std::function<void (*(const char* name))()>;

// Sets `entry` to the function `find` knows as `name`, as the declaration
// of `Function` says it is. Does nothing once `missing` names a function;
// names `name` there when `find` does not know it.
template <typename Function>
void TakeEntryPoint(const EntryPointFinder& find, const char* name, Function*& entry,
                    std::optional<std::string>& missing) {
  if (missing) return;
  void (*address)() = find(name);
  if (address == nullptr) {
    missing = name;
    return;
  }
  entry = reinterpret_cast<Function*>(address);
}

}  // namespace rfc
