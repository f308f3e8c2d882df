// The Linux program: the stand-in for librfc32 is linked in, and its
// functions are the entry points.
#include "rfc/classic_backend.h"
#include "rfc/classic_library.h"

namespace rfc {

SapLibrary& ProgramLibrary() {
  static const std::unique_ptr<RfcLibrary> operations = classic::MakeClassicLibrary({
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
  static classic::ClassicSapLibrary library(*operations);
  return library;
}

}  // namespace rfc
