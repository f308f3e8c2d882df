// The Linux program's RFC library: SAP's NetWeaver RFC SDK library
// libsapnwrfc.so, loaded with the dynamic loader when the run first needs
// it, and called through the NetWeaver backend (netweaver/netweaver_backend.h).
//
// Where it is looked for: the file BRACKWATER_RFC_LIBRARY names; else
// beside the executable; else by the loader's own search (LD_LIBRARY_PATH,
// the loader's cache, the system's library directories), which never looks
// in the working directory unless LD_LIBRARY_PATH names it.
//
// SAP's library needs companions (libsapucum.so and SAP's ICU libraries).
// SAP's installation notes have them found through LD_LIBRARY_PATH or the
// loader's cache; companions that lie beside a library found as a file are
// loaded first, from there, so that the loader takes them for the names the
// library needs and an unpacked SDK works as it lies.
#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "config/file_names.h"
#include "driver/loaded_library.h"
#include "driver/program_library.h"
#include "output/texts.h"
#include "platform/elf_library.h"
#include "platform/installation_file.h"
#include "platform/native_path.h"
#include "rfc/netweaver/entry_points.h"
#include "rfc/netweaver/netweaver_backend.h"
#include "rfc/sap_library.h"

namespace driver {
namespace {

using rfc::LibraryLoadFailure;
namespace nw = rfc::nw;
namespace texts = output::texts;

constexpr int kLoadMode = RTLD_NOW | RTLD_LOCAL;
// Companions of companions: SAP's go two deep (the library, libsapucum.so,
// ICU); anything deeper is left to the loader's search.
constexpr int kDeepestCompanion = 4;

std::string LoaderMessage() {
  const char* message = ::dlerror();
  return message != nullptr ? std::string(message) : std::string();
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Why the loader refused `file` (a path, or the plain name it searched
// for), from its message: glibc's messages begin with the object they are
// about, followed by ": ".
std::string ReasonFor(const std::string& file, const std::string& message) {
  constexpr std::string_view kCannotOpen = ": cannot open shared object file";
  const std::size_t cannot_open = message.find(kCannotOpen);
  if (cannot_open != std::string::npos) {
    const std::string object = message.substr(0, cannot_open);
    if (object == file) return std::string(texts::kLibraryNotFound);
    return std::string(texts::kLibraryNeedsMissingLibrary).append(object);
  }
  const std::string own = file + ": ";
  if (message.starts_with(own)) {
    for (const std::string_view format : {"wrong ELF class", "invalid ELF header", "file too short",
                                          "ELF file's", "ELF load command"}) {
      if (message.find(format, own.size()) != std::string::npos) {
        return std::string(texts::kLibraryNotX86_64);
      }
    }
  }
  return std::string(texts::kLibraryRefusedByLoader).append(message);
}

// Loads the libraries `needed` names that lie in `directory`, each after
// its own companions there. Failures are left to the library's own load,
// which then names what is missing.
void LoadCompanions(const std::string& directory, const std::vector<std::string>& needed,
                    std::set<std::string>& seen, int depth) {
  if (depth > kDeepestCompanion) return;
  for (const std::string& name : needed) {
    if (name.find('/') != std::string::npos || !seen.insert(name).second) continue;
    const std::string path = directory + name;
    if (!platform::IsRegularFile(path)) continue;
    const platform::ElfLibrary companion = platform::ReadElfLibrary(path);
    if (companion.kind != platform::ElfLibrary::Kind::kX86_64) continue;
    LoadCompanions(directory, companion.needed, seen, depth + 1);
    // Kept loaded for the life of the process, as the library that needs it.
    static_cast<void>(::dlopen(path.c_str(), kLoadMode));
  }
}

// The file BRACKWATER_RFC_LIBRARY names, as the program reads any path;
// nothing when the variable is unset or empty.
std::optional<std::string> NamedLibrary() {
  const char* named = std::getenv(config::file_names::kRfcLibraryVariable);
  if (named == nullptr || *named == '\0') return std::nullopt;
  return std::string(named);
}

// The library the program runs on, loaded by Load and then called through.
class LoadedSapLibrary final : public LoadedLibrary {
 public:
  std::optional<LibraryLoadFailure> Load() override {
    if (Loaded()) return std::nullopt;
    if (const std::optional<std::string> named = NamedLibrary()) {
      const std::optional<std::string> path = platform::ToNativePath(*named);
      if (!path || !platform::IsRegularFile(*path)) {
        return LibraryLoadFailure{*named, std::string(texts::kLibraryNotFound)};
      }
      // A name without a directory would send the loader searching.
      return LoadFile(path->find('/') == std::string::npos ? "./" + *path : *path, *named);
    }
    const std::string name(config::file_names::kLinuxRfcLibrary);
    if (const std::string beside = platform::ExecutableDirectory() + name;
        platform::IsRegularFile(beside)) {
      return LoadFile(beside, platform::ExecutableDirectoryAsPath() + name);
    }
    return LoadBySearch();
  }

 private:
  // Loads the library file at `path`, shown as `shown` in an error.
  std::optional<LibraryLoadFailure> LoadFile(const std::string& path, const std::string& shown) {
    const platform::ElfLibrary library = platform::ReadElfLibrary(path);
    if (library.kind == platform::ElfLibrary::Kind::kOther) {
      return LibraryLoadFailure{shown, std::string(texts::kLibraryNotX86_64)};
    }
    std::set<std::string> seen;
    LoadCompanions(DirectoryOf(path), library.needed, seen, 1);
    void* handle = ::dlopen(path.c_str(), kLoadMode);
    if (handle == nullptr) return LibraryLoadFailure{shown, ReasonFor(path, LoaderMessage())};
    return TakeEntryPoints(handle, path, shown);
  }

  std::optional<LibraryLoadFailure> LoadBySearch() {
    const std::string name(config::file_names::kLinuxRfcLibrary);
    void* handle = ::dlopen(name.c_str(), kLoadMode);
    if (handle == nullptr) return LibraryLoadFailure{name, ReasonFor(name, LoaderMessage())};
    std::string path = name;
    link_map* map = nullptr;
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr &&
        *map->l_name != '\0') {
      path = map->l_name;
    }
    return TakeEntryPoints(handle, path, path);
  }

  std::optional<LibraryLoadFailure> TakeEntryPoints(void* handle, const std::string& path,
                                                    const std::string& shown) {
    const auto find = [handle](const char* name) {
      // A function's address, as the loader hands it out for any symbol.
      return reinterpret_cast<void (*)()>(::dlsym(handle, name));
    };
    if (std::optional<std::string> missing = nw::TakeEntryPoints(find, points_)) {
      ::dlclose(handle);
      return LibraryLoadFailure{shown, std::string(texts::kLibraryNoEntryPoint).append(*missing)};
    }
    Use(nw::MakeNetWeaverBackend(points_), path);
    return std::nullopt;
  }

  // What the library is called through; it must outlive it.
  nw::EntryPoints points_;
};

}  // namespace

rfc::SapLibrary& ProgramLibrary() {
  static LoadedSapLibrary library;
  return library;
}

}  // namespace driver
