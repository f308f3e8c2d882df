#include <windows.h>

#include <vector>

#include "platform/environment.h"

namespace platform {

std::optional<SystemText> EnvironmentValue(const char* name) {
  std::wstring wide_name;
  for (const char* c = name; *c != '\0'; ++c) wide_name.push_back(static_cast<wchar_t>(*c));
  // The size includes the terminating NUL; 0 with ERROR_ENVVAR_NOT_FOUND
  // for a variable that is not set, 1 for an empty one.
  SetLastError(ERROR_SUCCESS);
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return SystemText(std::u16string());
  }
  std::vector<wchar_t> value(size);
  // The variable may change between the calls: read until it fits.
  for (;; value.resize(size)) {
    SetLastError(ERROR_SUCCESS);
    const DWORD read = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    if (read == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return SystemText(std::u16string());
    }
    if (read < size) return SystemText(std::u16string(value.begin(), value.begin() + read));
    size = read;
  }
}

std::optional<std::string> AnsiText(const SystemText& text) {
  if (const auto* bytes = std::get_if<std::string>(&text)) return *bytes;
  const std::u16string& wide = std::get<std::u16string>(text);
  if (wide.empty()) return std::string();
  // wchar_t is Windows' UTF-16 unit; copied, not aliased.
  const std::wstring units_copy(wide.begin(), wide.end());
  const wchar_t* units = units_copy.data();
  const int length = static_cast<int>(units_copy.size());
  const UINT code_page = GetACP();
  // UTF-8 as the ANSI code page takes every character; Windows refuses the
  // check for a stand-in character there.
  const bool utf8 = code_page == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL stand_in_used = FALSE;
  BOOL* stand_in = utf8 ? nullptr : &stand_in_used;
  const int size =
      WideCharToMultiByte(code_page, flags, units, length, nullptr, 0, nullptr, stand_in);
  if (size <= 0 || stand_in_used) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(code_page, flags, units, length, ansi.data(), size, nullptr, stand_in);
  if (stand_in_used) return std::nullopt;
  return ansi;
}

}  // namespace platform
