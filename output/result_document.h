// The one result document a run writes for its monitor, in the monitor's
// format (the output flavour). Every Part appends to it between the framing
// calls; the driver prints it, which empties it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace output {

// The formats behind the flavour keywords.
enum class DocumentFormat {
  kPrtgXml,   // "EXEXML", "Wendrel", "Ostrune"
  kHalvaric,  // message and statistic lines, at most ten channels
  kPellmar,   // "# " text and "> " channel lines, or one bare value with "CH="
  kUnknown,   // any other keyword: no framing, channels in PRTG form
};

DocumentFormat FormatOfFlavour(std::string_view flavour);

// A channel's alarm levels as PRTG's limit elements: PRTG warns when the
// value passes `warning` and reports an error when it passes `error`,
// upwards for upper limits, downwards for lower ones. The messages are
// what PRTG shows then.
struct ChannelLimits {
  enum class Direction { kUpper, kLower };
  Direction direction = Direction::kUpper;
  int warning = 0;
  int error = 0;
  std::string warning_message;
  std::string error_message;
};

class ResultDocument {
 public:
  // `selected_channel`: the Pellmar format's one bare value ("CH=").
  ResultDocument(std::string_view flavour, std::optional<int> selected_channel);

  DocumentFormat format() const { return format_; }
  const std::string& text() const { return text_; }
  int channel_number() const { return channel_number_; }

  void OpenResultDocument();
  void OpenResultText();
  void CloseResultText();
  void CloseResultDocument();

  // Appends text the program itself composed.
  void Append(std::string_view text) { text_.append(text); }
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
  // the flavour. `message` may be a copy of this document's own text.
  void WriteErrorDocument(std::string_view message);

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
};

// Makes a text from outside fit PRTG XML element content: "&", "<" and ">"
// become entities, bytes from 0x80 on character references (the byte read
// as ISO 8859-1), and control characters other than tab and line ends
// blanks, so that no text can make the document ill-formed.
std::string EscapeXml(std::string_view text);

}  // namespace output
