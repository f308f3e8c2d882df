// The SAP library the program runs on: on Windows SAP's librfc32.dll or
// sapnwrfc.dll, loaded at run time (program_library_win32.cpp); elsewhere
// the stand-in linked in (program_library_linked.cpp). CMake picks the file.
#pragma once

#include "rfc/sap_library.h"

namespace driver {

rfc::SapLibrary& ProgramLibrary();

}  // namespace driver
