// The one result document a run writes for its monitor, in the monitor's
// format (the output flavour). Every step of the run appends to it between
// the framing calls; the driver prints it, which empties it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/channel_limits.h"
#include "output/document_record.h"

namespace output {

// The formats behind the flavour keywords.
enum class DocumentFormat {
  kPrtgXml,   // "EXEXML", "Wendrel", "Ostrune"
  kHalvaric,  // message and statistic lines, at most ten channels
  kPellmar,   // "# " text and "> " channel lines, or one bare value with "CH="
  kNagios,    // "Nagios": the monitoring plugin's status line, rendered at the end
  kScriptV2,  // "ScriptV2": PRTG's Script v2 JSON document, rendered at the end
  kUnknown,   // any other keyword: no framing, channels in PRTG form
};

DocumentFormat FormatOfFlavour(std::string_view flavour);

class ResultDocument {
 public:
  // `selected_channel`: the Pellmar format's one bare value ("CH=").
  ResultDocument(std::string_view flavour, std::optional<int> selected_channel);

  DocumentFormat format() const { return format_; }
  // Whether the document is text written as the run goes. The monitoring
  // plugin's and Script v2's are not: they keep what the run reports (the
  // record) and render their one answer when the document is closed or an
  // error replaces it; until then Take hands out nothing.
  bool Streams() const {
    return format_ != DocumentFormat::kNagios && format_ != DocumentFormat::kScriptV2;
  }
  // Whether the channels go to a relay (RelayChannels).
  bool Relays() const { return static_cast<bool>(relay_); }
  const DocumentRecord& record() const { return record_; }
  const std::string& text() const { return text_; }
  int channel_number() const { return channel_number_; }

  // Opening the document in a format that renders at the end starts a new
  // record.
  void OpenResultDocument();
  void OpenResultText();
  void CloseResultText();
  void CloseResultDocument();

  // Appends text the program itself composed.
  void Append(std::string_view text);
  // Appends text that came from outside (files, command line, RFC answers):
  // escaped where the document is PRTG XML, so it cannot break the markup.
  void AppendExternal(std::string_view text);

  // `limits` and `warning` (PRTG's warning state for the channel, whatever
  // its value) show in the PRTG XML format only.
  void WriteChannel(std::string_view name, std::string_view value, std::string_view unit,
                    const std::optional<ChannelLimits>& limits = std::nullopt,
                    bool warning = false);

  // Hands every channel to `relay` instead of writing it (see
  // relayed_output.h): the document of a process that measures one system
  // for the listing run that started it.
  struct RelayedChannel {
    std::string_view name;
    std::string_view value;
    std::string_view unit;
    const std::optional<ChannelLimits>& limits;
    bool warning;
  };
  void RelayChannels(std::function<void(const RelayedChannel&)> relay) {
    relay_ = std::move(relay);
  }

  // Replaces everything by the PRTG error document with `message`, whatever
  // the flavour; in the formats that render at the end, by their answer
  // for the error. `message` may be a copy of this document's own text.
  void WriteErrorDocument(std::string_view message);

  // The channels whose ids never change (Script v2), in the order of their
  // ids; the last is the forecast's, whose days the summary names.
  void FixChannelIds(std::vector<std::string> names) { record_.fixed_ids = std::move(names); }
  // A listing's item and counts, before its summary text; recorded by the
  // formats that render at the end, ignored by the others.
  void RecordListing(ListingCounts counts) { record_.listing = std::move(counts); }

  // The process's exit code for what the document holds: `streamed` in the
  // formats written as the run goes (0, 1 or 2 by what the run met); the
  // state's code for the monitoring plugin (0 to 3); 0 for Script v2,
  // whose document carries the status (PRTG takes the document of a
  // script that ends with 0 only).
  int ExitCode(int streamed) const;

  // Hands out the text and empties the document (the print).
  std::string Take();
  void Clear() { text_.clear(); }

 private:
  DocumentFormat format_;
  std::optional<int> selected_channel_;
  std::string text_;
  // Counts every WriteChannel call of the run, written or not: the Halvaric
  // cut and the Pellmar "CH=" selection count across all systems.
  int channel_number_ = 0;
  std::function<void(const RelayedChannel&)> relay_;
  DocumentRecord record_;

  // Renders the record as the document's text.
  void Render();
};

// Makes a text from outside fit PRTG XML element content: "&", "<" and ">"
// become entities, bytes from 0x80 on character references (the byte read
// as ISO 8859-1), and control characters other than tab and line ends
// blanks, so that no text can make the document ill-formed.
std::string EscapeXml(std::string_view text);

}  // namespace output
