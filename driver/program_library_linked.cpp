// The Linux program: the stand-in for librfc32 is linked in, and its
// functions are the entry points.
#include "driver/program_library.h"
#include "rfc/classic_backend.h"
#include "rfc/classic_library.h"

namespace driver {

rfc::SapLibrary& ProgramLibrary() {
  static const std::unique_ptr<rfc::RfcLibrary> operations = rfc::classic::MakeClassicLibrary({
      &::RfcEnvironment,
      &::RfcOpen,
      &::RfcOpenEx,
      &::RfcClose,
      &::RfcLastError,
      &::RfcInstallStructure,
      &::RfcCall,
      &::RfcReceive,
      &::ItCreate,
      &::ItFill,
      &::ItGetLine,
      &::ItDelete,
  });
  static rfc::classic::ClassicSapLibrary library(*operations);
  return library;
}

}  // namespace driver
