#include "rfc/netweaver/module_call.h"

#include "rfc/netweaver/step_failure.h"
#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {

ModuleCall::~ModuleCall() {
  if (function_ == nullptr) return;
  ::nw::RFC_ERROR_INFO ignored{};
  api_.destroy_function(function_, &ignored);
}

std::optional<RemoteFailure> ModuleCall::Invoke(std::string_view module,
                                                std::span<const SentText> texts) {
  const std::u16string name = Utf16FromLatin1(module);
  ::nw::RFC_ERROR_INFO info{};
  const ::nw::RFC_FUNCTION_DESC_HANDLE description =
      api_.get_function_desc(connection_, name.c_str(), &info);
  if (description == nullptr) return CallFailure(info);
  unsigned count = 0;
  if (api_.get_parameter_count(description, &count, &info) != ::nw::RFC_OK) {
    return CallFailure(info);
  }
  parameters_.assign(count, ::nw::RFC_PARAMETER_DESC{});
  for (unsigned i = 0; i < count; ++i) {
    if (api_.get_parameter_desc_by_index(description, i, &parameters_[i], &info) != ::nw::RFC_OK) {
      return CallFailure(info);
    }
  }
  function_ = api_.create_function(description, &info);
  if (function_ == nullptr) return CallFailure(info);

  for (const SentText& text : texts) {
    const std::u16string parameter = Utf16FromLatin1(text.parameter);
    const ::nw::RFC_PARAMETER_DESC* taken = Find(parameter, {::nw::RFC_IMPORT, ::nw::RFC_CHANGING});
    if (taken == nullptr) continue;
    std::u16string value = Utf16FromLatin1(text.value);
    const std::size_t length = taken->nucLength;
    if (length != 0 && value.size() > length &&
        value.find_first_not_of(u' ', length) == std::u16string::npos) {
      value.resize(length);
    }
    if (api_.set_chars(function_, parameter.c_str(), value.data(),
                       static_cast<unsigned>(value.size()), &info) != ::nw::RFC_OK) {
      return CallFailure(info);
    }
  }
  if (api_.invoke(connection_, function_, &info) != ::nw::RFC_OK) return CallFailure(info);
  return std::nullopt;
}

const ::nw::RFC_PARAMETER_DESC* ModuleCall::Find(
    std::u16string_view name, std::initializer_list<::nw::RFC_DIRECTION> directions) const {
  for (const ::nw::RFC_PARAMETER_DESC& parameter : parameters_) {
    if (TerminatedText(parameter.name) != name) continue;
    for (const ::nw::RFC_DIRECTION direction : directions) {
      if (parameter.direction == direction) return &parameter;
    }
  }
  return nullptr;
}

bool ModuleCall::Exports(std::u16string_view name) const {
  return Find(name, {::nw::RFC_EXPORT, ::nw::RFC_CHANGING}) != nullptr;
}

bool ModuleCall::HasTable(std::u16string_view name) const {
  return Find(name, {::nw::RFC_TABLES}) != nullptr;
}

}  // namespace rfc::nw
