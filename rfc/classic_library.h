// SAP's classic RFC library (librfc32) as the sensor calls it: the twelve
// entry points, taken from a loaded DLL or from the stand-in linked into
// the program, behind the RfcLibrary seam.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "rfc/entry_point.h"
#include "rfc/rfc_library.h"

namespace rfc::classic {

// One pointer per operation, of the types rfc_api.h declares.
struct EntryPoints {
  decltype(&::RfcEnvironment) environment = nullptr;
  decltype(&::RfcOpen) open = nullptr;
  decltype(&::RfcOpenEx) open_ex = nullptr;
  decltype(&::RfcClose) close = nullptr;
  decltype(&::RfcLastError) last_error = nullptr;
  decltype(&::RfcInstallStructure) install_structure = nullptr;
  decltype(&::RfcCall) call = nullptr;
  decltype(&::RfcReceive) receive = nullptr;
  decltype(&::ItCreate) it_create = nullptr;
  decltype(&::ItFill) it_fill = nullptr;
  decltype(&::ItGetLine) it_get_line = nullptr;
  decltype(&::ItDelete) it_delete = nullptr;
};

// Takes all twelve entry points by their plain names, in the order of
// rfc_api.h; the name of the first one missing.
std::optional<std::string> TakeEntryPoints(const EntryPointFinder& find, EntryPoints& points);

// The library over entry points that are all set.
std::unique_ptr<RfcLibrary> MakeClassicLibrary(const EntryPoints& points);

}  // namespace rfc::classic
