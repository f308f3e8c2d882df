#include "rfc/database_filling.h"

#include <array>
#include <span>
#include <utility>

#include "measure/filling_row.h"
#include "rfc/internal_table.h"
#include "rfc/remote_call.h"

namespace {

// Rows of DEVSP_HIST: the module sends them, the sensor does not read them.
constexpr std::array<RfcTypeElement, 8> kAdaDbHist{{
    {"NAME", kRfcTypeChar, 70, 0, 0},
    {"WDAY", kRfcTypeChar, 3, 0, 0},
    {"DATUM", kRfcTypeDate, 8, 0, 0},
    {"ZEIT", kRfcTypeTime, 6, 0, 0},
    {"PUSED", kRfcTypeInt, 4, 0, 0},
    {"PUSEDx", kRfcTypeInt, 4, 0, 0},
    {"PFREE", kRfcTypeInt, 4, 0, 0},
    {"PFREEx", kRfcTypeInt, 4, 0, 0},
}};
constexpr unsigned kHistoryRowLength = 104;

// Rows of DEVSTAT (see filling_row.h). The sizes are declared NUM but carry
// packed decimals, which is how the module sends them.
constexpr std::array<RfcTypeElement, 10> kAdaDevSta{{
    {"NAME", kRfcTypeChar, 70, 0, 0},
    {"CONF_SIZE", kRfcTypeNum, 11, 0, 0},
    {"PAG", kRfcTypeNum, 11, 0, 0},
    {"PAGESx", kRfcTypeInt, 4, 0, 0},
    {"PERM_USED", kRfcTypeNum, 11, 0, 0},
    {"PERMx_USED", kRfcTypeInt, 4, 0, 0},
    {"TEMP_USED", kRfcTypeNum, 11, 0, 0},
    {"TEMPx_USED", kRfcTypeInt, 4, 0, 0},
    {"UN_USED", kRfcTypeNum, 11, 0, 0},
    {"UNx_USED", kRfcTypeInt, 4, 0, 0},
}};

constexpr const char* kHistoryTable = "DEVSP_HIST";
constexpr const char* kStatusTable = "DEVSTAT";

}  // namespace

namespace rfc {

StepResult<FillingRead> ReadFilling(const StepContext& step, const FillingRowHandler& each_row) {
  return GuardedStep<FillingRead>(step.library, [&]() -> StepResult<FillingRead> {
    InternalTable history(step.library, kHistoryTable, kHistoryRowLength);
    InternalTable status(step.library, kStatusTable, kFillingRowLength);
    RemoteCallResult result = CallFillingModule(step, history.handle(), status.handle());
    if (result.code != kRfcOk) {
      history.Delete();
      status.Delete();
      return FailureOf(std::move(result));
    }
    // The row count is asked anew before each row. Every row is fetched, so
    // that one the library cannot hand out ends the run as an RFC error.
    FillingRead read;
    for (unsigned number = 1; number <= status.RowCount(); ++number) {
      const std::span<const unsigned char> bytes = status.Row(number);
      each_row(DecodeFillingRow(bytes.first<kFillingRowLength>()));
      ++read.rows;
    }
    history.Delete();
    status.Delete();
    return read;
  });
}

RemoteCallResult CallFillingModule(const StepContext& step, ItabHandle history, ItabHandle status) {
  InstallStructureOnce(step.library, "ADA_DBHIST", kAdaDbHist, step.types.db_history);
  InstallStructureOnce(step.library, "ADA_DEVSTA", kAdaDevSta, step.types.dev_status);

  std::array<RfcTable, 3> tables{{
      Table(kHistoryTable, step.types.db_history, kHistoryRowLength, history),
      Table(kStatusTable, step.types.dev_status, kFillingRowLength, status),
      {},
  }};
  std::array<RfcParameter, 1> no_exporting{};
  std::array<RfcParameter, 1> no_importing{};
  return CallRemoteFunction(step, "ADA_DB_FILLING", no_exporting.data(), no_importing.data(),
                            tables.data());
}

}  // namespace rfc
