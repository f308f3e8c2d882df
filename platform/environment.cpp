#include "platform/environment.h"

namespace platform {

bool IsEmpty(const SystemText& text) {
  return std::visit([](const auto& value) { return value.empty(); }, text);
}

}  // namespace platform
