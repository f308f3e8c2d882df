#include "rfc/connection_probe.h"

#include <array>
#include <cstdint>

#include "rfc/internal_table.h"
#include "rfc/remote_call.h"

namespace {

// The rows of TF_CPU_ALL; offsets are left to the library.
constexpr std::array<RfcTypeElement, 13> kCpuAll{{
    {"TYPE", kRfcTypeInt2, 2, 0, 0},
    {"SUBTYPE", kRfcTypeInt2, 2, 0, 0},
    {"SERIALNR", kRfcTypeInt2, 2, 0, 0},
    {"NBR_CPU", kRfcTypeInt, 4, 0, 0},
    {"LOAD1_AVG", kRfcTypeInt, 4, 0, 0},
    {"LOAD5_AVG", kRfcTypeInt, 4, 0, 0},
    {"LOAD15_AVG", kRfcTypeInt, 4, 0, 0},
    {"INT_SEC", kRfcTypeInt, 4, 0, 0},
    {"SYSC_SEC", kRfcTypeInt, 4, 0, 0},
    {"CS_SEC", kRfcTypeInt, 4, 0, 0},
    {"USR_TOTAL", kRfcTypeInt, 4, 0, 0},
    {"SYS_TOTAL", kRfcTypeInt, 4, 0, 0},
    {"IDLE_TOTAL", kRfcTypeInt, 4, 0, 0},
}};
constexpr unsigned kCpuAllRowLength = 48;

// The module's single-value answer; received because the module sends it,
// never read.
struct CpuProbeAnswer {
  std::int32_t active_flag;
  std::int32_t details_collected;
  std::int32_t details_mode;
  std::int32_t details_requested;
  std::array<char, 3> cpu_all_read;
  std::int32_t interval;
  std::int32_t last_collection_interval;
  std::array<char, 25> last_collection_written;
  std::int32_t normal_collection_interval;
  std::array<char, 52> operating_system;
};

}  // namespace

namespace rfc {

StepResult<ProbeAnswer> ProbeServer(const StepContext& step) {
  return GuardedStep<ProbeAnswer>(step.library, [&]() -> StepResult<ProbeAnswer> {
    InstallStructureOnce(step.library, "CPU_ALL", kCpuAll, step.types.cpu_all);
    InternalTable cpu_table(step.library, "TF_CPU_ALL", kCpuAllRowLength);

    // The local server's data, no logical destination: 6 and 32 characters.
    std::array<char, 6> local_remote{'L', 'O', 'C', 'A', 'L', ' '};
    std::array<char, 32> logical_destination;
    logical_destination.fill(' ');
    std::array<RfcParameter, 3> exporting{{
        Parameter("LOCAL_REMOTE", kRfcTypeChar, local_remote.size(), local_remote.data()),
        Parameter("LOGICAL_DESTINATION", kRfcTypeChar, logical_destination.size(),
                  logical_destination.data()),
        {},
    }};

    CpuProbeAnswer answer{};
    std::array<RfcParameter, 11> importing{{
        Parameter("ACTIVEFLAG", kRfcTypeInt, 4, &answer.active_flag),
        Parameter("DETAILSCOLL", kRfcTypeInt, 4, &answer.details_collected),
        Parameter("DETAILSMODE", kRfcTypeInt, 4, &answer.details_mode),
        Parameter("DETAILSREQI", kRfcTypeInt, 4, &answer.details_requested),
        Parameter("F_CPU_ALL_READ", kRfcTypeChar, answer.cpu_all_read.size(),
                  answer.cpu_all_read.data()),
        Parameter("INTERVAL", kRfcTypeInt, 4, &answer.interval),
        Parameter("LASTCOLLINT", kRfcTypeInt, 4, &answer.last_collection_interval),
        Parameter("LASTCOLLWRT", kRfcTypeChar, answer.last_collection_written.size(),
                  answer.last_collection_written.data()),
        Parameter("NORMCOLLINT", kRfcTypeInt, 4, &answer.normal_collection_interval),
        Parameter("OP_SYSTEM", kRfcTypeChar, answer.operating_system.size(),
                  answer.operating_system.data()),
        {},
    }};

    std::array<RfcTable, 2> tables{{
        Table("TF_CPU_ALL", step.types.cpu_all, kCpuAllRowLength, cpu_table.handle()),
        {},
    }};

    RemoteCallResult result =
        CallRemoteFunction(step, "GET_CPU_ALL", exporting.data(), importing.data(), tables.data());
    if (result.code != kRfcOk) {
      cpu_table.Delete();
      return FailureOf(std::move(result));
    }
    // Fetched so that a row the library cannot hand out ends the run as an
    // RFC error; the values themselves are not needed.
    for (unsigned number = 1; number <= cpu_table.RowCount(); ++number) {
      cpu_table.Row(number);
    }
    cpu_table.Delete();
    return ProbeAnswer{};
  });
}

}  // namespace rfc
