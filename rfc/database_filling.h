// The measurement's remote step: the filling of the MaxDB data area, read
// with ADA_DB_FILLING on a connection whose database has been checked.
#pragma once

#include "rfc/remote_call.h"
#include "rfc/sap_library.h"

namespace rfc {

// Calls ADA_DB_FILLING and hands each DEVSTAT row, decoded, to `each_row`
// in order. The tables are deleted on every path that returns normally.
StepResult<FillingRead> ReadFilling(const StepContext& step, const FillingRowHandler& each_row);

// The remote call alone: installs ADA_DBHIST and ADA_DEVSTA once and calls
// ADA_DB_FILLING with the tables DEVSP_HIST (`history`) and DEVSTAT
// (`status`). Structure failures are a LibraryAbort.
RemoteCallResult CallFillingModule(const StepContext& step, ItabHandle history, ItabHandle status);

}  // namespace rfc
