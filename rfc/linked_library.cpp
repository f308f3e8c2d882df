// The Linux program: the stand-in for librfc32 is linked in, and its
// functions are the entry points.
#include "rfc/classic_library.h"

namespace rfc {

RfcLibrary& ProgramLibrary() {
  static const std::unique_ptr<RfcLibrary> library = classic::MakeClassicLibrary({
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
  return *library;
}

}  // namespace rfc
