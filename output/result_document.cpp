#include "output/result_document.h"

#include <string>

#include "output/channel_key.h"
#include "output/nagios_line.h"
#include "output/script_v2_document.h"

namespace output {

namespace {

constexpr std::string_view kPrtgOpen = "\n<Prtg>\n";
constexpr std::string_view kPrtgClose = "\n</Prtg>\n";
constexpr std::string_view kPrtgTextOpen = "\n<Text>";
constexpr std::string_view kPrtgTextClose = "</Text>\n";
constexpr std::string_view kLineTextOpen = "\n# ";
// Halvaric monitors take at most ten channels per document.
constexpr int kHalvaricChannelLimit = 10;

std::string DisplayUnit(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return std::string(unit);
}

void AppendElement(std::string& text, std::string_view name, std::string_view content) {
  text.append("\n<").append(name).append(">").append(content);
  text.append("</").append(name).append(">");
}

void AppendLimits(std::string& text, const ChannelLimits& limits) {
  const bool upper = limits.direction == ChannelLimits::Direction::kUpper;
  AppendElement(text, "LimitMode", "1");
  AppendElement(text, upper ? "LimitMaxWarning" : "LimitMinWarning",
                std::to_string(limits.warning));
  AppendElement(text, upper ? "LimitMaxError" : "LimitMinError", std::to_string(limits.error));
  AppendElement(text, "LimitWarningMsg", EscapeXml(limits.warning_message));
  AppendElement(text, "LimitErrorMsg", EscapeXml(limits.error_message));
}

}  // namespace

DocumentFormat FormatOfFlavour(std::string_view flavour) {
  if (flavour == "EXEXML" || flavour == "Wendrel" || flavour == "Ostrune") {
    return DocumentFormat::kPrtgXml;
  }
  if (flavour == "Halvaric") return DocumentFormat::kHalvaric;
  if (flavour == "Pellmar") return DocumentFormat::kPellmar;
  if (flavour == "Nagios") return DocumentFormat::kNagios;
  if (flavour == "ScriptV2") return DocumentFormat::kScriptV2;
  return DocumentFormat::kUnknown;
}

ResultDocument::ResultDocument(std::string_view flavour, std::optional<int> selected_channel)
    : format_(FormatOfFlavour(flavour)), selected_channel_(selected_channel) {}

void ResultDocument::OpenResultDocument() {
  switch (format_) {
    case DocumentFormat::kPrtgXml:
      text_ = kPrtgOpen;
      break;
    case DocumentFormat::kHalvaric:
    case DocumentFormat::kPellmar:
      text_.clear();
      break;
    case DocumentFormat::kNagios:
    case DocumentFormat::kScriptV2:
      text_.clear();
      record_.message.clear();
      record_.channels.clear();
      record_.error.reset();
      record_.listing.reset();
      break;
    case DocumentFormat::kUnknown:
      break;
  }
}

void ResultDocument::OpenResultText() {
  switch (format_) {
    case DocumentFormat::kPrtgXml:
      text_.append(kPrtgTextOpen);
      break;
    case DocumentFormat::kHalvaric:
    case DocumentFormat::kPellmar:
      text_.append(kLineTextOpen);
      break;
    case DocumentFormat::kNagios:
    case DocumentFormat::kScriptV2:
      record_.message.clear();
      break;
    case DocumentFormat::kUnknown:
      break;
  }
}

void ResultDocument::CloseResultText() {
  if (format_ == DocumentFormat::kPrtgXml) {
    text_.append(kPrtgTextClose);
  } else if (format_ == DocumentFormat::kPellmar && selected_channel_) {
    // With a channel selected the monitor reads one bare value: no text.
    text_.clear();
  }
}

void ResultDocument::CloseResultDocument() {
  switch (format_) {
    case DocumentFormat::kPrtgXml:
      text_.append(kPrtgClose);
      break;
    case DocumentFormat::kHalvaric:
    case DocumentFormat::kPellmar:
      text_.append("\n");
      break;
    case DocumentFormat::kNagios:
    case DocumentFormat::kScriptV2:
      Render();
      break;
    case DocumentFormat::kUnknown:
      break;
  }
}

void ResultDocument::Append(std::string_view text) {
  if (Streams()) {
    text_.append(text);
  } else {
    record_.message.append(text);
  }
}

void ResultDocument::AppendExternal(std::string_view text) {
  if (!Streams()) {
    record_.message.append(text);
  } else if (format_ == DocumentFormat::kPrtgXml) {
    text_.append(EscapeXml(text));
  } else {
    text_.append(text);
  }
}

void ResultDocument::WriteChannel(std::string_view name, std::string_view value,
                                  std::string_view unit, const std::optional<ChannelLimits>& limits,
                                  bool warning) {
  if (relay_) {
    relay_(RelayedChannel{name, value, unit, limits, warning});
    return;
  }
  ++channel_number_;
  if (!Streams()) {
    record_.channels.push_back(
        RecordedChannel{std::string(name), std::string(value), std::string(unit), limits, warning});
    return;
  }
  if (format_ == DocumentFormat::kHalvaric && channel_number_ > kHalvaricChannelLimit) {
    return;
  }
  if (format_ == DocumentFormat::kHalvaric) {
    std::string key = ChannelKey(name);
    text_.append("\n\nMessage.").append(key).append(": ").append(name);
    text_.append(" (").append(DisplayUnit(unit)).append(")");
    text_.append("\nStatistic.").append(key).append(": ").append(value);
    return;
  }
  if (format_ == DocumentFormat::kPellmar) {
    if (!selected_channel_) {
      text_.append("\n> ").append(name).append(": ").append(value);
      text_.append(" ").append(DisplayUnit(unit));
    } else if (*selected_channel_ == channel_number_) {
      text_.append(value);
    }
    return;
  }
  text_.append("\n<Result><Channel>").append(EscapeXml(name)).append("</Channel>");
  if (!unit.empty()) {
    text_.append("\n<Unit>Custom</Unit>");
    text_.append("\n<CustomUnit>").append(EscapeXml(unit)).append("</CustomUnit>");
  }
  text_.append("\n<Value>").append(EscapeXml(value)).append("</Value>");
  if (limits && format_ == DocumentFormat::kPrtgXml) AppendLimits(text_, *limits);
  if (warning && format_ == DocumentFormat::kPrtgXml) AppendElement(text_, "Warning", "1");
  text_.append("</Result>\n");
}

void ResultDocument::WriteErrorDocument(std::string_view message) {
  if (!Streams()) {
    record_.error = std::string(message);
    Render();
    return;
  }
  // The message may be this document's own text: build the new one aside.
  std::string document = "<Prtg>";
  document.append("\n<Error>1</Error>");
  document.append("\n<Text>").append(EscapeXml(message)).append("</Text>");
  document.append("\n</Prtg>\n");
  text_ = std::move(document);
}

void ResultDocument::Render() {
  text_ = format_ == DocumentFormat::kNagios ? NagiosLine(record_) : ScriptV2Document(record_);
}

int ResultDocument::ExitCode(int streamed) const {
  switch (format_) {
    case DocumentFormat::kNagios:
      return static_cast<int>(StateOfRecord(record_));
    case DocumentFormat::kScriptV2:
      return 0;
    default:
      return streamed;
  }
}

std::string ResultDocument::Take() {
  std::string taken = std::move(text_);
  text_.clear();
  return taken;
}

std::string EscapeXml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '&') {
      escaped.append("&amp;");
    } else if (c == '<') {
      escaped.append("&lt;");
    } else if (c == '>') {
      escaped.append("&gt;");
    } else if (byte >= 0x80) {
      // Texts from SAP systems and Windows files are single bytes (ISO 8859-1
      // in practice); as character references they keep their meaning and
      // the document stays valid UTF-8.
      escaped.append("&#").append(std::to_string(byte)).append(";");
    } else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      // Control characters have no place in XML, not even as references.
      escaped.push_back(' ');
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

}  // namespace output
