// The scan of the RFC library's trace file "Dev_Rfc.Trc" over any text, cut
// into pieces as the file reader cuts it. (The line_split target holds the
// file reader to the in-memory splitting; the sensor target scans the trace
// files its scripted library leaves.)
//
// Input: the trace file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/support/check.h"
#include "output/texts.h"
#include "platform/line_reader.h"
#include "rfc/trace_file_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  rfc::TraceMessageScanner scanner;
  for (const std::string& piece : platform::SplitLines(text, rfc::kTracePieceLength)) {
    fuzz::Require(piece.size() <= rfc::kTracePieceLength,
                  "a trace piece has at most 99 characters");
    scanner.Feed(piece);
  }
  const std::string& message = scanner.message();
  fuzz::Require(message.size() <= rfc::kTracePieceLength - 12,
                "a trace message is the rest of one piece from its 13th character at most");
  fuzz::Require(message.empty() || (message.back() != '\r' && message.back() != '\n'),
                "a trace message ends in no line end");

  const std::string diagnosis = rfc::TraceDiagnosis(message);
  fuzz::Require(message.empty()
                    ? diagnosis == output::texts::kPleaseCheckTraceFile
                    : diagnosis == std::string(output::texts::kTraceMessageLead) + message,
                "the diagnosis is the message after \" - \", or the request to check the file");
  return 0;
}
