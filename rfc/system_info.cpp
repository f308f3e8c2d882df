#include "rfc/system_info.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "rfc/remote_call.h"

namespace {

// Structure RFCSI: character fields back to back, 200 bytes.
constexpr std::array<RfcTypeElement, 18> kRfcsi{{
    {"RFCPROTO", kRfcTypeChar, 3, 0, 0},
    {"RFCCHARTYP", kRfcTypeChar, 4, 0, 0},
    {"RFCINTTYP", kRfcTypeChar, 3, 0, 0},
    {"RFCFLOTYP", kRfcTypeChar, 3, 0, 0},
    {"RFCDEST", kRfcTypeChar, 32, 0, 0},
    {"RFCHOST", kRfcTypeChar, 8, 0, 0},
    {"RFCSYSID", kRfcTypeChar, 8, 0, 0},
    {"RFCDATABS", kRfcTypeChar, 8, 0, 0},
    {"RFCDBHOST", kRfcTypeChar, 32, 0, 0},
    {"RFCDBSYS", kRfcTypeChar, 10, 0, 0},
    {"RFCSAPRL", kRfcTypeChar, 4, 0, 0},
    {"RFCMACH", kRfcTypeChar, 5, 0, 0},
    {"RFCOPSYS", kRfcTypeChar, 10, 0, 0},
    {"RFCTZONE", kRfcTypeChar, 6, 0, 0},
    {"RFCDAYST", kRfcTypeChar, 1, 0, 0},
    {"RFCIPADDR", kRfcTypeChar, 15, 0, 0},
    {"RFCKERNRL", kRfcTypeChar, 4, 0, 0},
    {"RFCSI_RESV", kRfcTypeChar, 44, 0, 0},
}};
constexpr std::size_t kRfcsiLength = 200;

// The two fields the sensor keeps: offset and length within RFCSI.
struct FieldPlace {
  std::size_t offset;
  std::size_t length;
};
constexpr FieldPlace kRfcHost{45, 8};
constexpr FieldPlace kRfcDbSys{101, 10};

constexpr std::string_view kMaxDbPrefix = "ADA";

// The module's answer. Only RFCSI_EXPORT is read.
struct SystemInfoAnswer {
  std::int32_t current_resources;
  std::array<char, 1> dialog_user_type;
  std::int32_t maximal_resources;
  std::int32_t recommended_delay;
  std::array<char, kRfcsiLength> rfcsi;
  std::array<char, 1> login_complete;
};

// A fixed character field as text: all of it, or up to a NUL within it.
std::string FieldText(std::span<const char> structure, FieldPlace place) {
  std::span<const char> field = structure.subspan(place.offset, place.length);
  return std::string(field.begin(), std::find(field.begin(), field.end(), '\0'));
}

}  // namespace

namespace rfc {

StepResult<SystemInfo> ReadSystemInfo(const StepContext& step) {
  return GuardedStep<SystemInfo>(step.library, [&]() -> StepResult<SystemInfo> {
    InstallStructureOnce(step.library, "RFCSI", kRfcsi, step.types.system_info);

    SystemInfoAnswer answer{};
    std::array<RfcParameter, 7> importing{{
        Parameter("CURRENT_RESOURCES", kRfcTypeInt, 4, &answer.current_resources),
        Parameter("DIALOG_USER_TYPE", kRfcTypeChar, answer.dialog_user_type.size(),
                  answer.dialog_user_type.data()),
        Parameter("MAXIMAL_RESOURCES", kRfcTypeInt, 4, &answer.maximal_resources),
        Parameter("RECOMMENDED_DELAY", kRfcTypeInt, 4, &answer.recommended_delay),
        Parameter("RFCSI_EXPORT", step.types.system_info, answer.rfcsi.size(), answer.rfcsi.data()),
        Parameter("RFC_LOGIN_COMPLETE", kRfcTypeChar, answer.login_complete.size(),
                  answer.login_complete.data()),
        {},
    }};
    std::array<RfcParameter, 1> no_exporting{};
    std::array<RfcTable, 1> no_tables{};

    RemoteCallResult result = CallRemoteFunction(step, "RFC_SYSTEM_INFO", no_exporting.data(),
                                                 importing.data(), no_tables.data());
    if (result.code != kRfcOk) return FailureOf(std::move(result));
    return SystemInfo{FieldText(answer.rfcsi, kRfcDbSys), FieldText(answer.rfcsi, kRfcHost)};
  });
}

}  // namespace rfc

bool IsMaxDb(std::string_view database_system_name) {
  return database_system_name.starts_with(kMaxDbPrefix);
}
