// Handing a function module's answer to the caller of RfcReceive.
#pragma once

#include "rfcsim/internal_table.h"
#include "rfcsim/landscape.h"
#include "rfcsim/modules.h"
#include "rfcsim/recorder.h"
#include "rfcsim/sap_rfc.h"

namespace rfcsim {

// Importing parameters: each one the module knows is written when the
// caller's length is the module's and its type fits (the integer code for
// integers, a character-like code for texts, an installed structure's type
// handle for structures). Anything else is left alone.
//
// Tables: each table of the list that the module answers (matched by the
// list entry's name) is emptied and gets the answer's rows, each
// zero-filled to the table's row length before its fields are copied in.
void DeliverAnswer(const ModuleLayout& module, const ModuleAnswer& answer, RFC_PARAMETER* importing,
                   RFC_TABLE* tables, TableRegistry& registry, const StructureNames& structures);

}  // namespace rfcsim
