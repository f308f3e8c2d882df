// Handing the last error out in SAP's two error records: RFC_ERROR_INFO
// (RfcLastError) and RFC_ERROR_INFO_EX (RfcOpenEx).
#pragma once

#include <string_view>

#include "rfcsim/landscape.h"
#include "rfcsim/sap_rfc.h"

namespace rfcsim {

// The error group an error key names: SAP's keys for the groups are the
// groups' names ("RFC_ERROR_LOGON_FAILURE" is 103). Any other key (a
// landscape's own, FUNCTION_NOT_FOUND) counts as RFC_ERROR_SYSTEM_FAILURE,
// the group of a configured fault's default key.
RFC_ERROR_GROUP ErrorGroup(std::string_view key);

// Each text cut to its field and terminated.
void FillErrorInfo(RFC_ERROR_INFO& info, const ErrorTexts& error);

// Writes every byte of the record (the bytes after each text's terminator
// and the padding are zero), so that a caller that hands a smaller record is
// caught by AddressSanitizer or Valgrind rather than left with a quietly
// overwritten neighbour. The status texts have no field here.
void FillErrorInfoEx(RFC_ERROR_INFO_EX& info, const ErrorTexts& error);

}  // namespace rfcsim
