#include "rfc/netweaver/step_failure.h"
#include "rfc/library_files.h"

#include <string>
#include <utility>

#include "output/texts.h"
#include "platform/files.h"
#include "platform/line_reader.h"
#include "rfc/netweaver/text_conversion.h"
#include "rfc/trace_file_scan.h"

namespace rfc::nw {
namespace {

// The classic return codes.
constexpr int kFailure = 1;
constexpr int kException = 2;
constexpr int kSystemException = 3;

std::string MessageOf(const ::nw::RFC_ERROR_INFO& info) {
  return Latin1FromUtf16(TerminatedText(info.message));
}

}  // namespace

RemoteFailure CallFailure(const ::nw::RFC_ERROR_INFO& info) {
  RemoteFailure failure{kFailure, "", MessageOf(info)};
  if (info.code == ::nw::RFC_ABAP_EXCEPTION) {
    failure.code = kException;
  } else if (info.code == ::nw::RFC_ABAP_RUNTIME_FAILURE || info.code == ::nw::RFC_ABAP_MESSAGE) {
    failure.code = kSystemException;
  }
  if (failure.code != kFailure) failure.exception = Latin1FromUtf16(TerminatedText(info.key));
  return failure;
}

RemoteFailure ReadFailure(const ::nw::RFC_ERROR_INFO& info) { return ReadFailure(MessageOf(info)); }

RemoteFailure ReadFailure(std::string message) {
  return RemoteFailure{kFailure, "", std::move(message)};
}

RemoteFailure Recorded(RemoteFailure failure, std::string_view operation, TraceFile& trace) {
  const std::optional<std::string> block = trace.Append(operation, failure.message);
  // The file was read after the block went in; one that cannot be read
  // (written, yet closed to reading) was found missing.
  if (block && platform::CanOpenForReading(rfc::TraceFilePath())) {
    // The block starts a record and its ERROR line starts a line of the
    // file, whatever the file held before: the block alone decides.
    TraceMessageScanner scanner;
    for (const std::string& line : platform::SplitLines(*block, kTracePieceLength)) {
      scanner.Feed(line);
    }
    failure.message = scanner.message();
  } else if (std::optional<std::string> message = ScanTraceFile()) {
    failure.message = std::move(*message);
  } else {
    failure.message.clear();
    failure.trace_file_missing = true;
  }
  return failure;
}

}  // namespace rfc::nw
