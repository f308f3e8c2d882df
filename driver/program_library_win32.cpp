// SAP's RFC library, loaded when the run first needs it: the classic
// librfc32.dll, whose twelve entry points the sensor calls directly (see
// classic_library.h), or, on hosts that have only SAP's current library,
// the NetWeaver RFC SDK's sapnwrfc.dll, whose functions the sensor's steps
// call directly (netweaver/netweaver_backend.h). Entry points are taken by
// the plain names SAP's libraries export and called with SAP's calling
// convention.
//
// Where the library is looked for: librfc32.dll beside the executable, then
// in the Windows system directory, then sapnwrfc.dll in the same two places
// (the classic library keeps priority, so existing installations behave as
// before); never in the working directory, where anybody who can write
// there could plant a DLL that the sensor would run. BRACKWATER_RFC_LIBRARY
// names another file instead (labs, tests): a file named sapnwrfc.dll is
// taken as the NetWeaver library, any other as the classic one.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/file_names.h"
#include "driver/loaded_library.h"
#include "driver/program_library.h"
#include "output/texts.h"
#include "platform/installation_file.h"
#include "platform/native_path.h"
#include "platform/upper_case.h"
#include "rfc/classic_backend.h"
#include "rfc/classic_library.h"
#include "rfc/netweaver/entry_points.h"
#include "rfc/netweaver/netweaver_backend.h"
#include "rfc/rfc_library.h"
#include "rfc/sap_library.h"

namespace driver {
namespace {

using rfc::LibraryLoadFailure;
using rfc::RfcLibrary;
namespace classic = rfc::classic;
namespace nw = rfc::nw;

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

// A process loads only DLLs of its own width; Windows refuses one of the
// other width, like any file that is no DLL at all, as a bad format.
constexpr std::string_view kNotOfOwnWidth =
    sizeof(void*) == 8 ? output::texts::kLibraryNot64Bit : output::texts::kLibraryNot32Bit;

std::string ReasonFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::string(output::texts::kLibraryNotFound);
    case ERROR_MOD_NOT_FOUND:
      // The file itself exists (it was found before the load was tried).
      return std::string(output::texts::kLibraryNeedsMissingDll);
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
      return std::string(kNotOfOwnWidth);
    default:
      return std::string(output::texts::kLibrarySystemError) + std::to_string(error);
  }
}

// The value of BRACKWATER_RFC_LIBRARY; empty when unset.
std::string NamedLibrary() {
  const char* named = std::getenv(config::file_names::kRfcLibraryVariable);
  return named != nullptr ? std::string(named) : std::string();
}

enum class LibraryKind { kClassic, kNetWeaver };

struct LibraryFile {
  std::string path;
  LibraryKind kind;
};

// Whether `path` names SAP's NetWeaver library by its file name (any case).
bool IsNetWeaverFile(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return platform::UpperCase(name) == platform::UpperCase(config::file_names::kNetWeaverRfcLibrary);
}

// The file to load, as an absolute path; nothing when there is none.
std::optional<LibraryFile> FindLibrary(const std::string& named) {
  if (!named.empty()) {
    std::string path = FullPath(named);
    if (!platform::IsRegularFile(path)) return std::nullopt;
    const LibraryKind kind =
        IsNetWeaverFile(path) ? LibraryKind::kNetWeaver : LibraryKind::kClassic;
    return LibraryFile{std::move(path), kind};
  }
  std::vector<std::string> directories;
  if (std::string directory = platform::ExecutableDirectory(); !directory.empty()) {
    directories.push_back(std::move(directory));
  }
  if (std::string directory = SystemDirectory(); !directory.empty()) {
    directories.push_back(std::move(directory));
  }
  const std::pair<std::string_view, LibraryKind> libraries[] = {
      {config::file_names::kRfcLibrary, LibraryKind::kClassic},
      {config::file_names::kNetWeaverRfcLibrary, LibraryKind::kNetWeaver},
  };
  for (const auto& [name, kind] : libraries) {
    for (const std::string& directory : directories) {
      std::string path = directory + std::string(name);
      if (platform::IsRegularFile(path)) return LibraryFile{std::move(path), kind};
    }
  }
  return std::nullopt;
}

// The library the program runs on, loaded by Load and then called through.
class LoadedSapLibrary final : public LoadedLibrary {
 public:
  std::optional<LibraryLoadFailure> Load() override {
    if (Loaded()) return std::nullopt;
    const std::string named = NamedLibrary();
    const std::optional<LibraryFile> found = FindLibrary(named);
    if (!found) {
      return LibraryLoadFailure{
          named.empty() ? std::string(config::file_names::kRfcLibrary) : named,
          std::string(output::texts::kLibraryNotFound)};
    }
    // Neither a missing DLL nor a damaged file may stop the monitor's poll
    // with a dialog nobody sees.
    const std::string& file = found->path;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, kSafeSearch);
    if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
      module = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr) return LibraryLoadFailure{file, ReasonFor(GetLastError())};
    const auto find = [module](const char* name) {
      // FARPROC stands for any function, as the finder's result does.
      return reinterpret_cast<void (*)()>(GetProcAddress(module, name));
    };
    std::optional<std::string> missing;
    std::unique_ptr<rfc::SapLibrary> backend;
    if (found->kind == LibraryKind::kClassic) {
      classic::EntryPoints points;
      missing = classic::TakeEntryPoints(find, points);
      if (!missing) {
        operations_ = classic::MakeClassicLibrary(points);
        backend = std::make_unique<classic::ClassicSapLibrary>(*operations_);
      }
    } else {
      missing = nw::TakeEntryPoints(find, netweaver_points_);
      if (!missing) backend = nw::MakeNetWeaverBackend(netweaver_points_);
    }
    if (missing) {
      FreeLibrary(module);
      return LibraryLoadFailure{file,
                                std::string(output::texts::kLibraryNoEntryPoint).append(*missing)};
    }
    Use(std::move(backend), file);
    return std::nullopt;
  }

 private:
  // What the NetWeaver library is called through; it must outlive it.
  nw::EntryPoints netweaver_points_;
  // What the classic library is called through, never unloaded either.
  std::unique_ptr<RfcLibrary> operations_;
};

}  // namespace

rfc::SapLibrary& ProgramLibrary() {
  static LoadedSapLibrary library;
  return library;
}

}  // namespace driver
