// SAP's librfc32.dll, loaded when the run first needs it. The sensor then
// holds the twelve entry points, taken by their plain names as SAP's library
// exports them, and calls them with SAP's calling convention (the pointer
// types come from the declarations in rfc_api.h).
//
// Where the library is looked for: beside the executable, then in the
// Windows system directory; never in the working directory, where anybody
// who can write there could plant a DLL that the sensor would run.
// BRACKWATER_RFC_LIBRARY names another file instead (labs, tests).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "include/texts.h"
#include "platform/installation_file.h"
#include "platform/native_path.h"
#include "rfc/rfc_library.h"

namespace rfc {
namespace {

// A library's dependencies are looked for beside it and in the system
// directory only. Windows versions without these flags (before the update
// that brought them to Windows 7) refuse them as an invalid parameter; the
// classic search beside the library is the fallback there.
constexpr DWORD kSafeSearch = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

std::string SystemDirectory() {
  std::string directory(MAX_PATH, '\0');
  UINT length = GetSystemDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
  if (length >= directory.size()) {
    directory.resize(length);
    length = GetSystemDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
  }
  directory.resize(length < directory.size() ? length : 0);
  if (!directory.empty() && directory.back() != '\\') directory.push_back('\\');
  return directory;
}

// The absolute form of a path given in the environment (the safe search
// wants one); the path itself when Windows cannot tell.
std::string FullPath(const std::string& path) {
  const DWORD length = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::string full(length, '\0');
  const DWORD written = GetFullPathNameA(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

std::string ReasonFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::string(texts::kLibraryNotFound);
    case ERROR_MOD_NOT_FOUND:
      // The file itself exists (it was found before the load was tried).
      return std::string(texts::kLibraryNeedsMissingDll);
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
      return std::string(texts::kLibraryNot32Bit);
    default:
      return std::string(texts::kLibrarySystemError) + std::to_string(error);
  }
}

// The value of BRACKWATER_RFC_LIBRARY; empty when unset.
std::string NamedLibrary() {
  const char* named = std::getenv(file_names::kRfcLibraryVariable);
  return named != nullptr ? std::string(named) : std::string();
}

// The file to load, as an absolute path; nothing when there is none.
std::optional<std::string> FindLibrary(const std::string& named) {
  std::vector<std::string> candidates;
  if (!named.empty()) {
    candidates.push_back(FullPath(named));
  } else {
    const std::string executable_directory = platform::ExecutableDirectory();
    if (!executable_directory.empty()) {
      candidates.push_back(executable_directory + std::string(file_names::kRfcLibrary));
    }
    const std::string system_directory = SystemDirectory();
    if (!system_directory.empty()) {
      candidates.push_back(system_directory + std::string(file_names::kRfcLibrary));
    }
  }
  for (std::string& candidate : candidates) {
    if (platform::IsRegularFile(candidate)) return std::move(candidate);
  }
  return std::nullopt;
}

class LoadedRfcLibrary final : public RfcLibrary {
 public:
  std::optional<LibraryLoadFailure> Load() override {
    if (module_ != nullptr) return std::nullopt;
    const std::string named = NamedLibrary();
    const std::optional<std::string> file = FindLibrary(named);
    if (!file) {
      return LibraryLoadFailure{named.empty() ? std::string(file_names::kRfcLibrary) : named,
                                std::string(texts::kLibraryNotFound)};
    }
    // Neither a missing DLL nor a damaged file may stop the monitor's poll
    // with a dialog nobody sees.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExA(file->c_str(), nullptr, kSafeSearch);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
      module = LoadLibraryExA(file->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr) return LibraryLoadFailure{*file, ReasonFor(GetLastError())};
    if (std::optional<std::string> missing = TakeEntryPoints(module)) {
      FreeLibrary(module);
      return LibraryLoadFailure{*file, std::string(texts::kLibraryNoEntryPoint).append(*missing)};
    }
    module_ = module;
    file_ = *file;
    return std::nullopt;
  }
  std::string LoadedFile() const override { return file_; }

  void Environment(RfcErrorHandler error_handler) override {
    RfcEnvironmentRecord record{error_handler, nullptr};
    environment_(&record);
  }
  RfcHandle Open(OpenOptions* options) override { return open_(options); }
  RfcHandle OpenEx(const char* connection_text, RfcErrorInfoEx* error_info) override {
    return open_ex_(connection_text, error_info);
  }
  void Close(RfcHandle handle) override { close_(handle); }
  int LastError(RfcErrorInfo* error_info) override { return last_error_(error_info); }
  int InstallStructure(const char* name, const RfcTypeElement* elements, unsigned element_count,
                       RfcTypeHandle* type_handle) override {
    return install_structure_(name, elements, element_count, type_handle);
  }
  int Call(RfcHandle handle, const char* function, RfcParameter* exporting,
           RfcTable* tables) override {
    return call_(handle, function, exporting, tables);
  }
  int Receive(RfcHandle handle, RfcParameter* importing, RfcTable* tables,
              char** exception) override {
    return receive_(handle, importing, tables, exception);
  }
  ItabHandle ItCreate(const char* name, unsigned row_length) override {
    return it_create_(name, row_length, 0, 0);
  }
  unsigned ItFill(ItabHandle table) override { return it_fill_(table); }
  void* ItGetLine(ItabHandle table, unsigned row) override { return it_get_line_(table, row); }
  int ItDelete(ItabHandle table) override { return it_delete_(table); }

 private:
  // Takes all twelve entry points; the name of the first one missing.
  std::optional<std::string> TakeEntryPoints(HMODULE module) {
    std::optional<std::string> missing;
    const auto take = [&](auto& entry, const char* name) {
      if (missing) return;
      FARPROC address = GetProcAddress(module, name);
      if (address == nullptr) {
        missing = name;
        return;
      }
      // FARPROC stands for any function; the declaration says which.
      entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(
          reinterpret_cast<void (*)()>(address));
    };
    take(environment_, "RfcEnvironment");
    take(open_, "RfcOpen");
    take(open_ex_, "RfcOpenEx");
    take(close_, "RfcClose");
    take(last_error_, "RfcLastError");
    take(install_structure_, "RfcInstallStructure");
    take(call_, "RfcCall");
    take(receive_, "RfcReceive");
    take(it_create_, "ItCreate");
    take(it_fill_, "ItFill");
    take(it_get_line_, "ItGetLine");
    take(it_delete_, "ItDelete");
    return missing;
  }

  // Set together by a successful Load, before any operation is called.
  HMODULE module_ = nullptr;
  std::string file_;
  decltype(&::RfcEnvironment) environment_ = nullptr;
  decltype(&::RfcOpen) open_ = nullptr;
  decltype(&::RfcOpenEx) open_ex_ = nullptr;
  decltype(&::RfcClose) close_ = nullptr;
  decltype(&::RfcLastError) last_error_ = nullptr;
  decltype(&::RfcInstallStructure) install_structure_ = nullptr;
  decltype(&::RfcCall) call_ = nullptr;
  decltype(&::RfcReceive) receive_ = nullptr;
  decltype(&::ItCreate) it_create_ = nullptr;
  decltype(&::ItFill) it_fill_ = nullptr;
  decltype(&::ItGetLine) it_get_line_ = nullptr;
  decltype(&::ItDelete) it_delete_ = nullptr;
};

}  // namespace

RfcLibrary& ProgramLibrary() {
  static LoadedRfcLibrary library;
  return library;
}

}  // namespace rfc
