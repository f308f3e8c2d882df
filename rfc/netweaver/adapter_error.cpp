#include "rfc/netweaver/adapter_error.h"

#include <string_view>
#include <utility>

#include "rfc/netweaver/text_conversion.h"

namespace rfc::nw {
namespace {

// RfcOpenEx's groups: program error, communication, logon, anything else.
constexpr int kProgramErrorGroup = 101;
constexpr int kCommunicationGroup = 102;
constexpr int kLogonGroup = 103;
constexpr int kOtherGroup = 104;

std::string GroupText(::nw::RFC_ERROR_GROUP group) {
  switch (group) {
    case ::nw::OK:
      return "OK";
    case ::nw::ABAP_APPLICATION_FAILURE:
      return "ABAP_APPLICATION_FAILURE";
    case ::nw::ABAP_RUNTIME_FAILURE:
      return "ABAP_RUNTIME_FAILURE";
    case ::nw::LOGON_FAILURE:
      return "LOGON_FAILURE";
    case ::nw::COMMUNICATION_FAILURE:
      return "COMMUNICATION_FAILURE";
    case ::nw::EXTERNAL_RUNTIME_FAILURE:
      return "EXTERNAL_RUNTIME_FAILURE";
    case ::nw::EXTERNAL_APPLICATION_FAILURE:
      return "EXTERNAL_APPLICATION_FAILURE";
    case ::nw::EXTERNAL_AUTHORIZATION_FAILURE:
      return "EXTERNAL_AUTHORIZATION_FAILURE";
  }
  return "GROUP " + std::to_string(static_cast<int>(group));
}

int LogonGroup(const ::nw::RFC_ERROR_INFO& info) {
  if (info.code == ::nw::RFC_LOGON_FAILURE || info.group == ::nw::LOGON_FAILURE) {
    return kLogonGroup;
  }
  if (info.code == ::nw::RFC_COMMUNICATION_FAILURE || info.group == ::nw::COMMUNICATION_FAILURE) {
    return kCommunicationGroup;
  }
  if (info.code == ::nw::RFC_INVALID_PARAMETER) return kProgramErrorGroup;
  return kOtherGroup;
}

// "CLASS TYPE NUMBER V1 V2 V3 V4" with the empty parts left out; empty
// when there is no ABAP message.
std::string AbapMessage(const ::nw::RFC_ERROR_INFO& info) {
  if (TerminatedText(info.abapMsgClass).empty() && TerminatedText(info.abapMsgType).empty()) {
    return {};
  }
  std::string text;
  for (std::u16string_view part :
       {TerminatedText(info.abapMsgClass), TerminatedText(info.abapMsgType),
        TerminatedText(info.abapMsgNumber), TerminatedText(info.abapMsgV1),
        TerminatedText(info.abapMsgV2), TerminatedText(info.abapMsgV3),
        TerminatedText(info.abapMsgV4)}) {
    if (part.empty()) continue;
    if (!text.empty()) text.push_back(' ');
    text.append(Latin1FromUtf16(part));
  }
  return text;
}

}  // namespace

AdapterError FromNetWeaver(const ::nw::RFC_ERROR_INFO& info) {
  AdapterError error;
  error.key = Latin1FromUtf16(TerminatedText(info.key));
  error.status = GroupText(info.group);
  error.message = Latin1FromUtf16(TerminatedText(info.message));
  error.internal_status = AbapMessage(info);
  if (error.internal_status.empty()) error.internal_status = error.key;
  error.logon_group = LogonGroup(info);
  return error;
}

AdapterError AdapterFailure(std::string key, std::string message) {
  AdapterError error;
  error.internal_status = key;
  error.key = std::move(key);
  error.status = "EXTERNAL_RUNTIME_FAILURE";
  error.message = std::move(message);
  error.logon_group = kProgramErrorGroup;
  return error;
}

void FillLastError(const AdapterError& error, RfcErrorInfo& record) {
  CopyTerminated(error.key, record.key);
  CopyTerminated(error.status, record.status);
  CopyTerminated(error.message, record.message);
  CopyTerminated(error.internal_status, record.internal_status);
}

void FillOpenError(const AdapterError& error, RfcErrorInfoEx& record) {
  record = RfcErrorInfoEx{};
  record.group = error.logon_group;
  CopyTerminated(error.key, record.key);
  CopyTerminated(error.message, record.message);
}

}  // namespace rfc::nw
