// The connection text of RfcOpenEx: blank-separated KEY=VALUE pairs such as
// "CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD". Values hold no
// blanks; a value may be empty and may contain "=".
#pragma once

#include <string>
#include <string_view>

#include "rfcsim/saprfc_ini.h"

namespace rfcsim {

struct ConnectionTextParse {
  KeyValues values;     // keys upper-cased; a repeated key keeps its last value
  std::string problem;  // empty when the text is well formed
};

// Known keys: CLIENT, USER, PASSWD, LANG, DEST, TYPE, ASHOST, SYSNR, GWHOST,
// GWSERV, TRACE. A word without "=", an empty key or an unknown key makes the
// text malformed.
ConnectionTextParse ParseConnectionText(std::string_view text);

}  // namespace rfcsim
