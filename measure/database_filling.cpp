#include "measure/database_filling.h"

#include <array>
#include <span>
#include <utility>

#include "measure/filling_report.h"
#include "measure/filling_row.h"
#include "rfc/internal_table.h"
#include "rfc/remote_call.h"
#include "rfc/return_code_text.h"

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

// Reports the rows of DEVSTAT, asking the row count anew before each row.
// Every row is fetched, so that one the library cannot hand out ends the run
// as an RFC error; a single-system run reports the first only.
void ReportRows(RunState& run, RunServices& services, rfc::InternalTable& status) {
  bool reported = false;
  for (unsigned number = 1; number <= status.RowCount(); ++number) {
    const std::span<const unsigned char> bytes = status.Row(number);
    if (run.GlobalMode) {
      ReportFillingItem(run, services, DecodeFillingRow(bytes.first<kFillingRowLength>()));
    } else if (number == 1) {
      ReportFillingRow(run, services, DecodeFillingRow(bytes.first<kFillingRowLength>()));
      reported = true;
    }
  }
  if (!run.GlobalMode) {
    // Without a row the document still needs its opening: a closing alone
    // is no document a monitor can read.
    if (!reported) run.Document.OpenResultDocument();
    run.Document.CloseResultDocument();
  }
}

}  // namespace

int CallFillingModule(RunState& run, RunServices& services, ItabHandle history, ItabHandle status,
                      std::string& exception) {
  rfc::InstallStructureOnce(services.rfc, "ADA_DBHIST", kAdaDbHist, run.DbHistoryType);
  rfc::InstallStructureOnce(services.rfc, "ADA_DEVSTA", kAdaDevSta, run.DevStatusType);

  std::array<RfcTable, 3> tables{{
      rfc::Table(kHistoryTable, run.DbHistoryType, kHistoryRowLength, history),
      rfc::Table(kStatusTable, run.DevStatusType, kFillingRowLength, status),
      {},
  }};
  std::array<RfcParameter, 1> no_exporting{};
  std::array<RfcParameter, 1> no_importing{};
  rfc::RemoteCallResult result = rfc::CallRemoteFunction(
      run, services, "ADA_DB_FILLING", no_exporting.data(), no_importing.data(), tables.data());
  exception = std::move(result.exception);
  return result.code;
}

int ReadDatabaseFilling(RunState& run, RunServices& services) {
  rfc::InternalTable history(services.rfc, kHistoryTable, kHistoryRowLength);
  rfc::InternalTable status(services.rfc, kStatusTable, kFillingRowLength);

  std::string exception;
  const int code = CallFillingModule(run, services, history.handle(), status.handle(), exception);
  if (code == kRfcOk) {
    run.StepStatus = kStepOk;
    ReportRows(run, services, status);
  } else {
    run.Document.Append(ReturnCodeText(code, exception));
  }
  history.Delete();
  status.Delete();
  return code;
}
